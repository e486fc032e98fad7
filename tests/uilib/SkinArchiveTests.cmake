# The skin archive test reads the packed skin: in the Windows build from the
# resource linked into the test program, natively from the packed file.
if(BRISA_NATIVE)
  set(skin_test_target uilib_portable_tests)
  add_dependencies(${skin_test_target} brisa_skin_zip)
  target_compile_definitions(${skin_test_target} PRIVATE BRISA_SKIN_ZIP="${BRISA_SKIN_ZIP}")
else()
  set(skin_test_target uilib_core_tests)
  target_link_libraries(${skin_test_target} PRIVATE brisa_skin_res)
endif()
target_link_libraries(${skin_test_target} PRIVATE brisa_skin_password)
