# cmake -DSTRIP=strip -DPENDO=Pendo.exe -DMONDAX=mondax.exe -DREADME=readme.txt
#       -DSTAGE=folder -DOUT=dist -P MakeDistribution.cmake
# The folder a user gets: mondax.exe, the setup script naming Pendo and the
# archive of the product's files in the order of its "Bind" section.
foreach(v STRIP PENDO MONDAX README STAGE OUT)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "MakeDistribution: ${v} is not set")
  endif()
endforeach()
file(REMOVE_RECURSE ${OUT} ${STAGE})
file(MAKE_DIRECTORY ${OUT} ${STAGE})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "MakeDistribution: ${ARGN} failed")
  endif()
endfunction()

# Programs go out without symbols.
run(${STRIP} -o ${STAGE}/Pendo.exe ${PENDO})
run(${STRIP} -o ${OUT}/mondax.exe ${MONDAX})
# The readme as Windows text: CR LF and code page 932.
file(READ ${README} text)
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${STAGE}/readme.utf8 "${text}")
run(iconv -f UTF-8 -t CP932 -o ${STAGE}/readme.txt ${STAGE}/readme.utf8)
file(REMOVE ${STAGE}/readme.utf8)

set(bind Pendo.exe readme.txt)
set(entries "")
set(parts "")
foreach(f ${bind})
  file(SIZE ${STAGE}/${f} size)
  string(APPEND entries "${f}=${size}\r\n")
  list(APPEND parts ${STAGE}/${f})
endforeach()
execute_process(COMMAND cat ${parts} OUTPUT_FILE ${OUT}/pendo.bdx RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "MakeDistribution: cannot write the archive")
endif()

file(WRITE ${OUT}/mondax.inx
  "[profile]\r\n"
  "applicationname=Pendo\r\n"
  "bindedfilename=pendo\r\n"
  "uninstallationtitle=Sorvek Pendo + Short Message\r\n"
  "[environment]\r\n"
  "sendto=1\r\n"
  "[Bind]\r\n"
  "${entries}"
  "[ShortCut]\r\n"
  "Pendo.exe=Pendo\r\n"
  "readme.txt=Pendo readme\r\n"
  "[Settings]\r\n"
  "profile=settings\r\n")
