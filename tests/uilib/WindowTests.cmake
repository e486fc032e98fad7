# Containers, layouts, scroll bar, dialog builder and the shadow. The shadow
# raster is platform-free; the rest runs on a real paint manager, built once
# the manager's sources are part of the library.
if(BRISA_NATIVE)
  target_sources(uilib_portable_tests PRIVATE layout/ShadowRasterTest.cpp)
else()
  target_sources(uilib_core_tests PRIVATE layout/ShadowRasterTest.cpp)
  if(EXISTS "${CMAKE_SOURCE_DIR}/uilib/core/UIManager.cmake")
    brisa_add_test(uilib_layout_tests
      SOURCES
        layout/BuilderTest.cpp
        layout/ContainerTest.cpp
        layout/LayoutTest.cpp
        layout/ScrollBarTest.cpp
      LIBS brisa_uilib_core)
  endif()
endif()
