# The paint manager: headless resource and draw-spec tests join the core test
# program; the tests with real windows and the paint benchmark have their own.
if(NOT BRISA_NATIVE)
  target_sources(uilib_core_tests PRIVATE manager/DrawSpecTest.cpp manager/ManagerResourcesTest.cpp)
  brisa_add_test(uilib_manager_tests
    SOURCES
      manager/AnimationTest.cpp
      manager/ManagerHarness.cpp
      manager/ManagerNotifyTest.cpp
      manager/ManagerPaintTest.cpp
      manager/ManagerRoutingTest.cpp
      manager/ManagerTimerTest.cpp
    LIBS brisa_uilib_test_kit)
  brisa_add_bench(bench_uilib_manager
    SOURCES manager/ManagerHarness.cpp manager/bench_manager.cpp
    LIBS brisa_uilib_test_kit)
endif()
