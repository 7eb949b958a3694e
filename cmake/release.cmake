# Packs the release:
#   cmake -DEXE=... -DREADME=... -DLICENSE=... -DOUT=... -DNAME=... -P release.cmake
# With Info-ZIP's zip, everything in the zip has a fixed time and no extra
# fields, so that the same exe gives the same zip; without it the zip holds
# the files' own times.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/${NAME})
file(COPY ${EXE} ${README} ${LICENSE} DESTINATION ${OUT}/${NAME})
set(files ${NAME}/velmora.exe ${NAME}/readme.txt ${NAME}/LICENSE.txt)
find_program(ZIP zip)
if(ZIP)
  execute_process(COMMAND touch -d "2026-01-01 00:00:00 UTC" ${files}
    WORKING_DIRECTORY ${OUT} COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC
      ${ZIP} -q -X -D -9 ${NAME}.zip ${files}
    WORKING_DIRECTORY ${OUT} COMMAND_ERROR_IS_FATAL ANY)
else()
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${NAME}.zip --format=zip
      ${files}
    WORKING_DIRECTORY ${OUT} COMMAND_ERROR_IS_FATAL ANY)
endif()
file(SHA256 ${OUT}/${NAME}/velmora.exe hash)
file(WRITE ${OUT}/${NAME}.sha256 "${hash}  velmora.exe\n")
message(STATUS "${OUT}/${NAME}.zip\n   velmora.exe SHA-256 ${hash}")
