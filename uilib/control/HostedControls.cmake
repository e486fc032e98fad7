# Controls that host system components: the rich edit over the text services.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    RichEdit.cpp
    RichEditInput.cpp
    TxtWinHost.cpp
  )
  target_link_libraries(brisa_uilib_core PUBLIC imm32)
endif()
