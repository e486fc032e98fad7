# The paint manager: message routing, skin resources and painting.
set(UILIB_MANAGER_WIN_SOURCES
  UIDragSourceHelper.cpp
  UIDrawSpec.cpp
  UIManagerDrop.cpp
  UIManagerFocus.cpp
  UIManagerFonts.cpp
  UIManagerLifecycle.cpp
  UIManagerLoop.cpp
  UIManagerNotify.cpp
  UIManagerPaint.cpp
  UIManagerResources.cpp
  UIManagerRouting.cpp
  UIManagerTimers.cpp
  UIManagerTree.cpp
  UIManagerWindow.cpp
)

if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE ${UILIB_MANAGER_WIN_SOURCES})
  target_link_libraries(brisa_uilib_core PUBLIC shell32 user32 gdi32)
endif()
