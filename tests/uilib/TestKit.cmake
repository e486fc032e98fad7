# Helpers shared by the UI test programs and benchmarks with windows.
if(NOT BRISA_NATIVE)
  add_library(brisa_uilib_test_kit STATIC
    kit/MessagePump.cpp
    kit/NotifyRecorder.cpp
    kit/SentEvents.cpp)
  brisa_warnings(brisa_uilib_test_kit)
  target_link_libraries(brisa_uilib_test_kit PUBLIC brisa_uilib_core gtest)
endif()
