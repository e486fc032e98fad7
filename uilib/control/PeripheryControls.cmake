# Combo box with arrow, extended list, date-time, address, hot key, group box, rolling text
# and colour palette controls.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    ColorPalette.cpp
    ComboBox.cpp
    DateTime.cpp
    DateTimeWnd.cpp
    GroupBox.cpp
    HotKey.cpp
    HotKeyWnd.cpp
    IPAddress.cpp
    IPAddressEx.cpp
    IPAddressWnd.cpp
    ListCheckBox.cpp
    ListContainerHeaderItem.cpp
    ListEx.cpp
    ListTextExtElement.cpp
    NativeOverlay.cpp
    OverlayLabel.cpp
    OverlayWnd.cpp
    PaletteHsl.cpp
    RollText.cpp
  )
  target_link_libraries(brisa_uilib_core PUBLIC ws2_32)
endif()
