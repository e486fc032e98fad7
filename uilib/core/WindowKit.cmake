# Window bases, dialog builder, control factory and the shadow window.
set(UILIB_WINDOW_PORTABLE_SOURCES
  ShadowRaster.cpp
)

set(UILIB_WINDOW_WIN_SOURCES
  ControlFactory.cpp
  DialogBuilder.cpp
  ShadowWindow.cpp
  SkinDocumentLoader.cpp
  WindowBase.cpp
)

if(BRISA_NATIVE)
  target_sources(brisa_uilib_portable PRIVATE ${UILIB_WINDOW_PORTABLE_SOURCES})
else()
  target_sources(brisa_uilib_core PRIVATE ${UILIB_WINDOW_PORTABLE_SOURCES} ${UILIB_WINDOW_WIN_SOURCES})
endif()
