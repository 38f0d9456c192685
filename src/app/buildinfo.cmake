# Run at every build (cmake -P): writes the about box's build line, the day of
# the build and the number of source lines. The header is only rewritten when
# its text changes, so an unchanged line recompiles nothing.
# In: SOURCES (the src folder), TEMPLATE, OUTPUT.
cmake_policy(VERSION 3.25)
string(TIMESTAMP PENDO_BUILD_DATE "%Y/%m/%d(%a)")
file(GLOB_RECURSE sources ${SOURCES}/*.cpp ${SOURCES}/*.h)
set(PENDO_SOURCE_LINES 0)
foreach(f ${sources})
  file(READ ${f} text)
  string(REGEX MATCHALL "\n" ends "${text}")
  list(LENGTH ends n)
  math(EXPR PENDO_SOURCE_LINES "${PENDO_SOURCE_LINES} + ${n}")
endforeach()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
