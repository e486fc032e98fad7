# Tests of the response math and the firmware file parsers, and the response
# benchmark (run by scripts/bench, not by CTest).
set(device_files_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/ResponseMathTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CrossoverTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PeakingReferenceTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareFileTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpgradeFileNameTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpgradeBlocksTests.cpp)
if(NOT BRISA_NATIVE)
  list(APPEND device_files_test_sources ${CMAKE_CURRENT_LIST_DIR}/FirmwareFileReaderTests.cpp)
endif()
brisa_add_test(device_files_tests SOURCES ${device_files_test_sources} LIBS brisa_device_files)

brisa_add_bench(bench_response SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_response.cpp LIBS brisa_device_files)
