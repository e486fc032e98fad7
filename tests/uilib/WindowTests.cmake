# Containers, layouts, scroll bar, dialog builder and the shadow. The shadow
# raster is platform-free; the rest runs on a real paint manager.
if(BRISA_NATIVE)
  target_sources(uilib_portable_tests PRIVATE layout/ShadowRasterTest.cpp)
else()
  target_sources(uilib_core_tests PRIVATE layout/ShadowRasterTest.cpp)
  brisa_add_test(uilib_layout_tests
    SOURCES
      layout/BuilderTest.cpp
      layout/ContainerPaintTest.cpp
      layout/ContainerTest.cpp
      layout/LayoutTest.cpp
      layout/ScrollBarTest.cpp
      layout/TileTabLayoutTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit stb_headers)
  brisa_add_bench(bench_uilib_layout SOURCES layout/bench_layout.cpp LIBS brisa_uilib_core)

  # Window bases, the shadow and the first skin window, under Xvfb.
  brisa_add_test(uilib_window_tests
    SOURCES
      window/MainSkinTest.cpp
      window/MessageBoxTest.cpp
      window/ShadowWindowTest.cpp
      window/SkinLintTest.cpp
      window/SkinSetup.cpp
      window/SkinVariants.cpp
      window/WindowTest.cpp
      render/DibCanvas.cpp
    LIBS brisa_uilib_test_kit brisa_skin_password brisa_skin_res stb_headers)
  # Its windows take activation and focus: other windowed tests running at
  # the same time on the same display would lose theirs.
  set_tests_properties(uilib_window_tests PROPERTIES RUN_SERIAL TRUE)
endif()
