# The rich edit and the ActiveX hosts in a real window, driven by X input:
# they hold the keyboard focus, so nothing may run beside them.
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_hosted_tests
    SOURCES
      controls/ControlTestKit.cpp
      hosted/HostedFixture.cpp
      hosted/RichEditTest.cpp
      periphery/XInput.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_hosted_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/periphery" "${CMAKE_CURRENT_SOURCE_DIR}/render"
    "${CMAKE_CURRENT_SOURCE_DIR}/kit")
  set_tests_properties(uilib_hosted_tests PROPERTIES RUN_SERIAL TRUE)
endif()
