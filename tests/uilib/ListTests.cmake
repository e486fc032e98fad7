# Lists, list rows, combo boxes and popup menus: logic without windows in one
# program, the drop-down and menu windows (under Xvfb) in another.
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_list_tests
    SOURCES
      lists/ComboLogicTest.cpp
      lists/ListHeaderTest.cpp
      lists/ListSelectionTest.cpp
      lists/ListTestKit.cpp
      lists/MenuLogicTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_list_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/lists")
endif()

if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_popup_tests
    SOURCES
      lists/ComboDropDownTest.cpp
      lists/ListTestKit.cpp
      lists/PopupHost.cpp
      lists/PopupMenuTest.cpp
    LIBS brisa_uilib_test_kit)
  target_include_directories(uilib_popup_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/lists")
endif()

if(NOT BRISA_NATIVE)
  # Menus close when another program's window takes the focus, as they
  # should; so no other test may run beside these.
  set_tests_properties(uilib_popup_tests PROPERTIES RUN_SERIAL TRUE)
endif()
