# Tests of the response math and the firmware file parsers, and the response
# benchmark (run by scripts/bench, not by CTest).
set(device_files_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/ResponseMathTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CrossoverTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareFileTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpgradeFileNameTests.cpp)
if(NOT BRISA_NATIVE)
  list(APPEND device_files_test_sources ${CMAKE_CURRENT_LIST_DIR}/FirmwareFileReaderTests.cpp)
endif()
brisa_add_test(device_files_tests SOURCES ${device_files_test_sources} LIBS brisa_device_files)

add_executable(bench_response ${CMAKE_CURRENT_LIST_DIR}/bench_response.cpp)
brisa_warnings(bench_response)
target_link_libraries(bench_response PRIVATE brisa_device_files)
if(NOT BRISA_NATIVE)
  target_link_options(bench_response PRIVATE -mconsole)
endif()
