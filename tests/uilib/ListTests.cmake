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
    LIBS brisa_uilib_core)
  target_include_directories(uilib_list_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/lists")
endif()
