# 64-bit Windows: what the tests run on a host that runs 64-bit code only.
set(PENDO_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
