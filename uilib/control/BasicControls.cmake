# Label, progress, slider, buttons, options, check boxes and the edit box.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    Button.cpp
    CheckBox.cpp
    Edit.cpp
    EditWnd.cpp
    Label.cpp
    Option.cpp
    Progress.cpp
    Slider.cpp
    StateImages.cpp
  )
endif()
