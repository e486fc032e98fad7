# The rich edit and the ActiveX hosts in a real window, driven by X input:
# they hold the keyboard focus, so nothing may run beside them.
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_hosted_tests
    SOURCES
      controls/ControlTestKit.cpp
      hosted/ActiveXHostTest.cpp
      hosted/BrowserFlashTest.cpp
      hosted/HostedFixture.cpp
      hosted/RichEditTest.cpp
      hosted/TestControlLink.cpp
      periphery/XInput.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers urlmon)
  target_include_directories(uilib_hosted_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/periphery" "${CMAKE_CURRENT_SOURCE_DIR}/render"
    "${CMAKE_CURRENT_SOURCE_DIR}/kit")
  set_tests_properties(uilib_hosted_tests PROPERTIES RUN_SERIAL TRUE)

  # A small OLE control the hosts load by module name, next to the tests.
  add_library(hosted_test_control SHARED hosted/control/TestControl.cpp hosted/control/TestControl.def)
  set_target_properties(hosted_test_control PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  target_link_libraries(hosted_test_control PRIVATE ole32 oleaut32 uuid)
  target_link_options(hosted_test_control PRIVATE -static -static-libgcc -static-libstdc++)
  brisa_warnings(hosted_test_control)
  add_dependencies(uilib_hosted_tests hosted_test_control)

  brisa_add_bench(bench_uilib_hosted
    SOURCES controls/ControlTestKit.cpp hosted/bench_hosted.cpp hosted/TestControlLink.cpp render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers gtest)
  target_include_directories(bench_uilib_hosted PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/hosted" "${CMAKE_CURRENT_SOURCE_DIR}/render"
    "${CMAKE_CURRENT_SOURCE_DIR}/kit")
  add_dependencies(bench_uilib_hosted hosted_test_control)
endif()
