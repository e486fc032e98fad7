# Rendering, delegates, drag and drop and the control base.
set(UILIB_RENDER_PORTABLE_SOURCES
  AttrParse.cpp
  UIDelegate.cpp
)

set(UILIB_RENDER_WIN_SOURCES
  FontVariantCache.cpp
  RenderBitmap.cpp
  RenderClip.cpp
  RenderHsl.cpp
  RenderImageDecode.cpp
  RenderImageDraw.cpp
  RenderImageLoad.cpp
  RenderOffscreen.cpp
  RenderShapes.cpp
  RenderText.cpp
  RenderSystemCalls.cpp
  ScaledImageCache.cpp
  TaggedText.cpp
  UIControl.cpp
  UIDataObject.cpp
  UIDropSource.cpp
  UIDropTarget.cpp
)

if(BRISA_NATIVE)
  target_sources(brisa_uilib_portable PRIVATE ${UILIB_RENDER_PORTABLE_SOURCES})
else()
  target_sources(brisa_uilib_core PRIVATE ${UILIB_RENDER_PORTABLE_SOURCES} ${UILIB_RENDER_WIN_SOURCES})
  target_link_libraries(brisa_uilib_core PUBLIC stb_headers gdiplus msimg32 ole32 oleaut32 uuid comctl32)
endif()
