# Combo box arrow, group box, rolling text, colour palette, address, extended
# list and the factory's classes: logic and painting without real input.
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_periphery_tests
    SOURCES
      controls/ControlTestKit.cpp
      periphery/AddressAndFactoryTest.cpp
      periphery/ArrowAndFrameTest.cpp
      periphery/ColorPaletteTest.cpp
      periphery/RollTextTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_periphery_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render" "${CMAKE_CURRENT_SOURCE_DIR}/kit")
endif()
