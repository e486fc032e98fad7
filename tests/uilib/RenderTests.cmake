# Portable parsers and delegates join the existing core test programs; the
# rendering, drag and drop and control tests form their own program.
if(BRISA_NATIVE)
  target_sources(uilib_portable_tests PRIVATE AttrParseTest.cpp UIDelegateTest.cpp)
else()
  target_sources(uilib_core_tests PRIVATE AttrParseTest.cpp UIDelegateTest.cpp)
  brisa_add_test(uilib_render_tests
    SOURCES
      render/DibCanvas.cpp
      render/DragDropTest.cpp
      render/GdiplusEnvironment.cpp
      render/RenderImageTest.cpp
      render/RenderShapesTest.cpp
    LIBS brisa_uilib_core stb_headers)
  target_include_directories(uilib_render_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/render")
endif()
