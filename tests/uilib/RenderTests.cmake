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

# Test images packed into a password-protected archive, the monospaced font
# the text tests install, and the reference picture, linked in as resources.
if(NOT BRISA_NATIVE)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  find_program(BRISA_ZIP_TOOL zip REQUIRED)
  find_file(BRISA_TEST_FONT DejaVuSansMono.ttf PATHS /usr/share/fonts/truetype/dejavu
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(render_fixture_dir "${CMAKE_CURRENT_BINARY_DIR}/render_fixtures")
  set(render_archive_password "render-test")
  file(MAKE_DIRECTORY "${render_fixture_dir}")
  add_custom_command(OUTPUT "${render_fixture_dir}/render.zip"
    COMMAND "${Python3_EXECUTABLE}" "${CMAKE_CURRENT_SOURCE_DIR}/render/make_render_fixtures.py" "${render_fixture_dir}"
    COMMAND "${CMAKE_COMMAND}" -E rm -f render.zip
    COMMAND "${BRISA_ZIP_TOOL}" -q -X -D -P "${render_archive_password}" render.zip
            img/grid12.png img/stripes10.png img/cells24.png
    WORKING_DIRECTORY "${render_fixture_dir}"
    DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/render/make_render_fixtures.py"
    VERBATIM)
  set(render_reference "${CMAKE_CURRENT_SOURCE_DIR}/render/reference/control_tree.png")
  set(render_fixture_depends "${render_fixture_dir}/render.zip")
  set(render_reference_line "")
  if(EXISTS "${render_reference}")
    set(render_reference_line "RENDER_REFERENCE RCDATA \"${render_reference}\"")
    list(APPEND render_fixture_depends "${render_reference}")
  endif()
  configure_file(render/render_fixtures.rc.in "${render_fixture_dir}/render_fixtures.rc" @ONLY)
  set_source_files_properties("${render_fixture_dir}/render_fixtures.rc" PROPERTIES
    OBJECT_DEPENDS "${render_fixture_depends}")
  target_sources(uilib_render_tests PRIVATE "${render_fixture_dir}/render_fixtures.rc")
  # The control and text tests run on a real paint manager, built once its
  # sources are part of the library.
  if(EXISTS "${CMAKE_SOURCE_DIR}/uilib/core/UIManager.cmake")
    target_sources(uilib_render_tests PRIVATE
      render/RenderFixtures.cpp
      render/ControlAttributeTest.cpp
      render/ControlBehaviourTest.cpp
      render/ControlTreePngTest.cpp
      render/SkinImageTest.cpp
      render/TextRenderTest.cpp)
  endif()
  target_compile_definitions(uilib_render_tests PRIVATE RENDER_ARCHIVE_PASSWORD=L"${render_archive_password}")
endif()
