# pendo_add_gtest(NAME SOURCES... LIBS... [LOCKS...])
# One GoogleTest program per subsystem; on Windows it runs under the Wine
# harness (started once per run by the wine.start fixture).
function(pendo_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # The window tests' wintest brings its own main.
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest testmain)
  if(PENDO_WIN32)
    pendo_wine_gtest(${name} LOCKS ${T_LOCKS})
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT PENDO_TEST_NAME=${name})
  endif()
endfunction()

# pendo_wine_test(TEST [TIMEOUT s] [ENVIRONMENT vars...] [LOCKS names...])
# A test under the Wine harness: it needs the running harness and one of its
# two desktops. Tests that share a file lock on a name for it.
function(pendo_wine_test test)
  cmake_parse_arguments(W "" "TIMEOUT" "ENVIRONMENT;LOCKS" ${ARGN})
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 600)
  endif()
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS desktop:1 TIMEOUT ${W_TIMEOUT})
  if(W_ENVIRONMENT)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${W_ENVIRONMENT}")
  endif()
  if(W_LOCKS)
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${W_LOCKS}")
  endif()
endfunction()

# pendo_wine_gtest(TEST [PROGRAM p] [ARGS...] [TIMEOUT s] [ENVIRONMENT...] [LOCKS...])
# A GoogleTest program run under the harness (PROGRAM defaults to TEST; a
# program may be run more than once, with another filter or locale). Each
# test writes its profiles and files in a folder of its own, named by
# PENDO_TEST_NAME (tests/settings/testfolder.h), so tests of one build folder
# run side by side; only files outside it need a lock.
function(pendo_wine_gtest test)
  cmake_parse_arguments(W "" "PROGRAM;TIMEOUT" "ARGS;ENVIRONMENT;LOCKS" ${ARGN})
  if(NOT W_PROGRAM)
    set(W_PROGRAM ${test})
  endif()
  add_test(NAME ${test} COMMAND ${W_PROGRAM} --gtest_brief=1 ${W_ARGS})
  pendo_wine_test(${test} TIMEOUT ${W_TIMEOUT} ENVIRONMENT PENDO_TEST_NAME=${test} ${W_ENVIRONMENT} LOCKS ${W_LOCKS})
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

