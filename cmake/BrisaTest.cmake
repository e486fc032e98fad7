# brisa_add_test(name SOURCES ... LIBS ... [SHARDS n]): one GoogleTest executable
# per area, run by CTest (under Wine through the toolchain's emulator when
# cross-building); a long one as n CTest entries name_1..name_n, each running
# every n-th of its tests, so they run side by side.
function(brisa_add_test name)
  cmake_parse_arguments(T "" "SHARDS" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  brisa_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  if(NOT BRISA_NATIVE)
    # Console subsystem for tests: their output goes to CTest.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  set(entries ${name})
  if(T_SHARDS)
    set(entries "")
    foreach(shard RANGE 1 ${T_SHARDS})
      math(EXPR index "${shard} - 1")
      add_test(NAME ${name}_${shard} COMMAND ${name} --gtest_brief=1)
      set_tests_properties(${name}_${shard} PROPERTIES
        ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS};GTEST_SHARD_INDEX=${index}")
      list(APPEND entries ${name}_${shard})
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  endif()
  set_tests_properties(${entries} PROPERTIES TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${entries} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# brisa_add_bench(name SOURCES ... LIBS ...): a benchmark program, run by
# scripts/bench (targets named bench_*), never by CTest.
function(brisa_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  brisa_warnings(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  if(NOT BRISA_NATIVE)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
endfunction()
