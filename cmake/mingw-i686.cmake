# 32-bit Windows: the programs users get.
set(PENDO_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
