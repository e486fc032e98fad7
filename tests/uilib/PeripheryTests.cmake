# Combo box arrow, group box, rolling text, colour palette, address, extended
# list and the factory's classes: logic and painting without real input.
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_periphery_tests
    SOURCES
      controls/ControlTestKit.cpp
      periphery/AddressAndFactoryTest.cpp
      periphery/ArrowAndFrameTest.cpp
      periphery/ColorPaletteTest.cpp
      periphery/ListExLogicTest.cpp
      periphery/RollTextTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_periphery_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render" "${CMAKE_CURRENT_SOURCE_DIR}/kit")

  # The date picker, address editors, extended list and hot key driven by
  # xdotool in a real window: they hold the keyboard focus and the pointer,
  # so nothing may run beside them.
  brisa_add_test(uilib_xinput_tests
    SOURCES
      controls/ControlTestKit.cpp
      periphery/XInput.cpp
      periphery/XInputTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_xinput_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render" "${CMAKE_CURRENT_SOURCE_DIR}/kit")
  set_tests_properties(uilib_xinput_tests PROPERTIES RUN_SERIAL TRUE)

  brisa_add_bench(bench_uilib_colour_palette
    SOURCES periphery/bench_colour_palette.cpp render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(bench_uilib_colour_palette PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/render" "${CMAKE_CURRENT_SOURCE_DIR}/kit")
endif()
