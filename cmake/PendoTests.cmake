# pendo_add_gtest(NAME SOURCES... LIBS...)
# One GoogleTest program per subsystem; on Windows it runs under the Wine
# harness (started once per run by the wine.start fixture).
function(pendo_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(PENDO_WIN32)
    # Further runs of the same program (another locale, a filter) share its
    # files beside it, so they lock on its name.
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS desktop:1 TIMEOUT 600
                         RESOURCE_LOCK ${name})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# pendo_add_fuzzer(NAME SOURCES... LIBS... CORPUS dir)
# Built only with clang on the host; runs for PENDO_FUZZ_SECONDS from its seed corpus.
function(pendo_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(PENDO_WIN32 OR NOT PENDO_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_BINARY_DIR}/fuzz/${name})
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}> ${F_CORPUS} ${work} ${PENDO_FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
endfunction()

