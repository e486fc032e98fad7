# Third-party code: GoogleTest from the Debian source, cJSON, and for Windows
# hidapi, zlib and stb_image built or found for the cross toolchain.
if(BRISA_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
endif()

# cJSON in both builds: the profile files are tested natively too.
set(cjson_src "${BRISA_THIRD_PARTY}/cjson")
if(NOT EXISTS "${cjson_src}/cJSON.c")
  message(FATAL_ERROR "cJSON sources missing under ${BRISA_THIRD_PARTY}: run scripts/setup")
endif()
add_library(cjson STATIC "${cjson_src}/cJSON.c")
target_include_directories(cjson SYSTEM PUBLIC "${cjson_src}")

if(NOT BRISA_NATIVE)
  set(hidapi_src "${BRISA_THIRD_PARTY}/hidapi")
  if(NOT EXISTS "${hidapi_src}/windows/hid.c")
    message(FATAL_ERROR "hidapi sources missing under ${BRISA_THIRD_PARTY}: run scripts/setup")
  endif()

  add_library(hidapi_win STATIC "${hidapi_src}/windows/hid.c")
  target_include_directories(hidapi_win SYSTEM PUBLIC "${hidapi_src}/hidapi")
  target_compile_definitions(hidapi_win PRIVATE UNICODE _UNICODE)

  # Only the hidapi header, for code that links a simulated unit in its place.
  add_library(hidapi_headers INTERFACE)
  target_include_directories(hidapi_headers SYSTEM INTERFACE "${hidapi_src}/hidapi")

  find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
  add_library(zlib_static INTERFACE)
  target_link_libraries(zlib_static INTERFACE "${ZLIB_STATIC}")

  add_library(stb_headers INTERFACE)
  target_include_directories(stb_headers SYSTEM INTERFACE /usr/include/stb)
endif()
