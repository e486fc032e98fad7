# Lists and their rows, combo boxes and popup menus.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    Combo.cpp
    ComboWnd.cpp
    List.cpp
    ListBody.cpp
    ListContainerElement.cpp
    ListElement.cpp
    ListHeader.cpp
    ListHeaderItem.cpp
    ListLabelElement.cpp
    ListNavigation.cpp
    ListRowCore.cpp
    ListStyleAttributes.cpp
    ListTextElement.cpp
    Menu.cpp
    MenuElement.cpp
    MenuList.cpp
    MenuObserver.cpp
    MenuPlacement.cpp
  )
endif()
