# The bitmap engine's parsers of outside bytes: BMP files, packed DIBs and
# both run-length decoders. The engine is compiled again with coverage
# instrumentation, so that the fuzzer sees its branches.
if(NOT PENDO_WIN32 AND PENDO_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  get_property(bitmap_sources GLOBAL PROPERTY PENDO_BITMAP_HOST_SOURCES)
  add_library(bitmap_fuzzing STATIC ${bitmap_sources})
  target_include_directories(bitmap_fuzzing PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(bitmap_fuzzing PRIVATE -fsanitize=fuzzer-no-link)

  pendo_add_fuzzer(fuzz_bmp SOURCES bmp_fuzz.cpp LIBS bitmap_fuzzing
                   CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/bmp_corpus)
  pendo_add_fuzzer(fuzz_packeddib SOURCES packeddib_fuzz.cpp LIBS bitmap_fuzzing
                   CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/packeddib_corpus)
  pendo_add_fuzzer(fuzz_rle8 SOURCES rle8_fuzz.cpp LIBS bitmap_fuzzing
                   CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/rle8_corpus)
  pendo_add_fuzzer(fuzz_rle4 SOURCES rle4_fuzz.cpp LIBS bitmap_fuzzing
                   CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/rle4_corpus)
endif()
