# Controls that host system components: the rich edit over the text
# services, the ActiveX host and the browser and Flash hosts built on it.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    ActiveX.cpp
    ActiveXCtrl.cpp
    ActiveXEnum.cpp
    ActiveXFrameWnd.cpp
    ActiveXWnd.cpp
    Flash.cpp
    HostedObjectLinks.cpp
    RichEdit.cpp
    RichEditInput.cpp
    TxtWinHost.cpp
    WebBrowser.cpp
  )
  target_link_libraries(brisa_uilib_core PUBLIC imm32)
endif()
