# Response curves and firmware upgrade files: platform-free, so they are
# built and tested natively as well; only the file reader is Windows-only.
add_library(brisa_device_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ResponseMath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpgradeFileName.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpgradeBlocks.cpp)
if(NOT BRISA_NATIVE)
  target_sources(brisa_device_files PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FirmwareFileReader.cpp)
endif()
brisa_warnings(brisa_device_files)
