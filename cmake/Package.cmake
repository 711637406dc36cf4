# The release zip, byte for byte the same from any clone of one commit:
#   cmake -DEXE=... -DREADME=... -DSOURCE_DIR=... -DOUTPUT_DIR=... -DNAME=... -P Package.cmake
# Writes OUTPUT_DIR/NAME.zip (NAME/zvx.exe and NAME/README.txt) and
# OUTPUT_DIR/SHA256SUMS (zvx.exe and the zip), and prints the sums.
#
# The zip's entries get the time of the commit (SOURCE_DATE_EPOCH when set,
# a fixed time outside a git checkout), fixed permissions and a fixed order.
# Info-ZIP's zip writes them as given with -X; the archive writer of
# "cmake -E tar --format=zip" stores the files' access and change times, which
# no option fixes, and CPack takes the times from the disk.
cmake_minimum_required(VERSION 3.25)
foreach(var EXE README SOURCE_DIR OUTPUT_DIR NAME)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "Package.cmake: ${var} is not set")
  endif()
endforeach()
find_program(ZIP zip REQUIRED)
find_program(TOUCH touch REQUIRED)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    set(epoch 946684800)  # 2000-01-01 00:00:00 UTC
  endif()
endif()

set(stage "${OUTPUT_DIR}/package-stage")
set(folder "${stage}/${NAME}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${EXE}" "${folder}/zvx.exe")
file(COPY_FILE "${README}" "${folder}/README.txt")
# Whatever the umask of the build: the same modes in every zip.
file(CHMOD "${folder}/zvx.exe" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD "${folder}/README.txt" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND "${TOUCH}" -d "@${epoch}" "${folder}/zvx.exe" "${folder}/README.txt"
  COMMAND_ERROR_IS_FATAL ANY)

# zip adds to an existing archive, so start afresh. The zip format stores
# local times: UTC makes them the same everywhere.
set(zipfile "${OUTPUT_DIR}/${NAME}.zip")
file(REMOVE "${zipfile}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${ZIP}" -X -D -9 -q "${zipfile}" "${NAME}/zvx.exe" "${NAME}/README.txt"
  WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)

file(SHA256 "${folder}/zvx.exe" exeSum)
file(SHA256 "${zipfile}" zipSum)
set(sums "${exeSum}  zvx.exe\n${zipSum}  ${NAME}.zip\n")
file(WRITE "${OUTPUT_DIR}/SHA256SUMS" "${sums}")
file(REMOVE_RECURSE "${stage}")
message("${zipfile}\n${OUTPUT_DIR}/SHA256SUMS:\n${sums}")
