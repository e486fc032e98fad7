# Tree view, text with links, GIF animation, loading bar, ring, fade button
# and animated tab layout (hidden windows for the timers; a shown one for the
# screenshots).
if(NOT BRISA_NATIVE)
  set(gif_fixture_dir "${CMAKE_CURRENT_BINARY_DIR}/gif_fixtures")
  set(gif_fixture_outputs "${gif_fixture_dir}/three_frames.gif" "${gif_fixture_dir}/one_frame.gif")
  add_custom_command(OUTPUT ${gif_fixture_outputs}
    COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/periphery/make_gif_fixtures.sh" "${gif_fixture_dir}"
    DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/periphery/make_gif_fixtures.sh"
    COMMENT "Making the GIF animation's test images"
    VERBATIM)
  add_custom_target(uilib_gif_fixtures DEPENDS ${gif_fixture_outputs})

  brisa_add_test(uilib_tree_indicator_tests
    SOURCES
      controls/ControlTestKit.cpp
      periphery/AnimationControlsTest.cpp
      periphery/GifAnimTest.cpp
      periphery/HiddenHostSuite.cpp
      periphery/IndicatorTest.cpp
      periphery/PeripheryScreenshotTest.cpp
      periphery/TextLinkTest.cpp
      periphery/TreeViewTest.cpp
      render/DibCanvas.cpp
      render/GdiplusEnvironment.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  target_include_directories(uilib_tree_indicator_tests PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render")
  add_dependencies(uilib_tree_indicator_tests uilib_gif_fixtures)
  target_compile_definitions(uilib_tree_indicator_tests PRIVATE
    BRISA_GIF_FIXTURES=L"Z:${gif_fixture_dir}")

  brisa_add_bench(bench_uilib_tree_indicators
    SOURCES controls/ControlTestKit.cpp periphery/bench_periphery.cpp render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers gtest)
  target_include_directories(bench_uilib_tree_indicators PRIVATE
    "${CMAKE_CURRENT_SOURCE_DIR}/controls" "${CMAKE_CURRENT_SOURCE_DIR}/render")
endif()
