# Label, progress, slider, buttons, options, check boxes (headless) and the
# edit box (real windows, under Xvfb).
if(NOT BRISA_NATIVE)
  brisa_add_test(uilib_control_tests
    SOURCES
      controls/ButtonOptionTest.cpp
      controls/ControlTestKit.cpp
      controls/EditBoxTest.cpp
      controls/LabelTest.cpp
      controls/SliderProgressTest.cpp
      render/DibCanvas.cpp
      render/GdiplusEnvironment.cpp
    LIBS brisa_uilib_test_kit brisa_process_counts stb_headers)
  target_include_directories(uilib_control_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render")
  # The edit box tests hold the keyboard focus of a real window; windows of
  # tests running beside them would take it away.
  set_tests_properties(uilib_control_tests PROPERTIES RUN_SERIAL TRUE)
  brisa_add_bench(bench_uilib_controls
    SOURCES controls/ControlTestKit.cpp controls/bench_controls.cpp render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers gtest)
  target_include_directories(bench_uilib_controls PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render")
endif()
