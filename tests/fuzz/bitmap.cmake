# The bitmap engine's parsers of outside bytes: BMP files, packed DIBs and
# both run-length decoders.
pendo_add_fuzzer(fuzz_bmp SOURCES bmp_fuzz.cpp LIBS bitmap
                 CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/bmp_corpus)
pendo_add_fuzzer(fuzz_packeddib SOURCES packeddib_fuzz.cpp LIBS bitmap
                 CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/packeddib_corpus)
pendo_add_fuzzer(fuzz_rle8 SOURCES rle8_fuzz.cpp LIBS bitmap
                 CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/rle8_corpus)
pendo_add_fuzzer(fuzz_rle4 SOURCES rle4_fuzz.cpp LIBS bitmap
                 CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/rle4_corpus)
