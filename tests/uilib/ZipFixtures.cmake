# Info-ZIP archives for the zip reader's tests, made at build time by the
# zip tool, and where the test executable finds them (through Wine's Z:
# drive in the Windows build).
if(BRISA_NATIVE)
  set(zip_test_target uilib_portable_tests)
  set(zip_fixture_prefix "")
else()
  set(zip_test_target uilib_core_tests)
  set(zip_fixture_prefix "Z:")
endif()

set(zip_fixture_dir "${CMAKE_CURRENT_BINARY_DIR}/zip_fixtures")
set(zip_fixture_password "Fixture_Pass-42")
set(zip_fixture_archives plain_stored.zip plain_deflated.zip crypt_stored.zip crypt_deflated.zip)
list(TRANSFORM zip_fixture_archives PREPEND "${zip_fixture_dir}/" OUTPUT_VARIABLE zip_fixture_outputs)
add_custom_command(OUTPUT ${zip_fixture_outputs}
  COMMAND "${CMAKE_CURRENT_SOURCE_DIR}/make_zip_fixtures.sh" "${zip_fixture_dir}" "${zip_fixture_password}"
  DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/make_zip_fixtures.sh"
  COMMENT "Making the zip reader's test archives"
  VERBATIM)
add_custom_target(uilib_zip_fixtures DEPENDS ${zip_fixture_outputs})

add_dependencies(${zip_test_target} uilib_zip_fixtures)
target_compile_definitions(${zip_test_target} PRIVATE
  BRISA_ZIP_FIXTURES="${zip_fixture_prefix}${zip_fixture_dir}"
  BRISA_ZIP_FIXTURE_PASSWORD="${zip_fixture_password}")

# A bounded fuzz run over mutated fixtures, under the sanitizers.
if(BRISA_NATIVE)
  brisa_add_test(uilib_zip_fuzz SOURCES ZipFuzzTest.cpp LIBS brisa_uilib_portable LABELS fuzz)
  add_dependencies(uilib_zip_fuzz uilib_zip_fixtures)
  target_compile_definitions(uilib_zip_fuzz PRIVATE
    BRISA_ZIP_FIXTURES="${zip_fixture_dir}"
    BRISA_ZIP_FIXTURE_PASSWORD="${zip_fixture_password}")
endif()
