# The release zip, byte for byte the same from any clone of one commit built
# with the same toolchain:
#   cmake -DEXE=... -DREADME=... -DSOURCE_DIR=... -DOUTPUT_DIR=... -DNAME=... -DTOOLS=... -P Package.cmake
# Writes OUTPUT_DIR/NAME.zip (NAME/zvx.exe, NAME/README.txt and
# NAME/BUILDINFO.txt), OUTPUT_DIR/BUILDINFO.txt and OUTPUT_DIR/SHA256SUMS
# (zvx.exe and the zip), and prints the sums. TOOLS lists the compiler and
# the resource compiler, whose Debian packages BUILDINFO.txt names.
#
# BUILDINFO.txt names the commit and the toolchain. The zip's entries get the
# time of the commit (SOURCE_DATE_EPOCH when set), fixed permissions and a
# fixed order. Info-ZIP's zip writes them as given
# with -X; the archive writer of "cmake -E tar --format=zip" stores the files'
# access and change times, which no option fixes, and CPack takes the times
# from the disk.
cmake_minimum_required(VERSION 3.25)
foreach(var EXE README SOURCE_DIR OUTPUT_DIR NAME TOOLS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "Package.cmake: ${var} is not set")
  endif()
endforeach()
find_program(ZIP zip REQUIRED)
find_program(TOUCH touch REQUIRED)

# The commit the sources are from, and its time, through the scripts' one
# way of reading git data (scripts/lib/git-in: also in a clone another user
# owns, which git would otherwise refuse to read). Only the sources' own
# checkout counts, not one they happen to lie in.
set(gitIn "${SOURCE_DIR}/scripts/lib/git-in")
file(REAL_PATH "${SOURCE_DIR}" sourceReal)
execute_process(COMMAND "${gitIn}" "${SOURCE_DIR}" log -1 --format=%H%n%ct
  OUTPUT_VARIABLE commitLines OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE gitStatus
  ERROR_VARIABLE gitError ERROR_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND "${gitIn}" "${SOURCE_DIR}" rev-parse --show-toplevel
  OUTPUT_VARIABLE topLevel OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(commit "")
if(gitStatus EQUAL 0 AND topLevel STREQUAL sourceReal AND commitLines MATCHES "^([0-9a-f]+)\n([0-9]+)$")
  set(commit "${CMAKE_MATCH_1}")
  set(commitTime "${CMAKE_MATCH_2}")
  execute_process(COMMAND "${gitIn}" "${SOURCE_DIR}" status --porcelain --untracked-files=no
    OUTPUT_VARIABLE changes RESULT_VARIABLE gitStatus ERROR_QUIET)
  if(NOT gitStatus EQUAL 0 OR changes)
    string(APPEND commit " with uncommitted changes")
  endif()
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(commit)
  set(epoch "${commitTime}")
else()
  message(FATAL_ERROR "Package.cmake: the zip's time is the commit's, and git cannot read it in ${SOURCE_DIR}"
    " (${gitError}). Build from a git checkout, or set SOURCE_DATE_EPOCH to the release's time.")
endif()
if(NOT commit)
  set(commit "unknown (not built from a git checkout)")
endif()

# Which toolchain made these bytes: another compiler, binutils or MinGW-w64
# runtime gives another zvx.exe. No date or host in it, so that it stays the
# same from every clone.
find_program(DPKG_QUERY dpkg-query)
# package_version OUT PACKAGE-OR-FILE: "package version" of a package, or of
# the package that owns a file.
function(package_version out what)
  set(line "${what} unknown (not from a Debian package)")
  if(DPKG_QUERY)
    set(package "${what}")
    if(IS_ABSOLUTE "${what}")
      file(REAL_PATH "${what}" real)
      execute_process(COMMAND "${DPKG_QUERY}" -S "${real}" OUTPUT_VARIABLE owner
        RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      string(REGEX REPLACE ":.*" "" package "${owner}")
      if(NOT status EQUAL 0)
        set(package "")
      endif()
    endif()
    if(package)
      execute_process(COMMAND "${DPKG_QUERY}" -W "-f=\${Package} \${Version}" "${package}"
        OUTPUT_VARIABLE found RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(status EQUAL 0 AND found)
        set(line "${found}")
      endif()
    endif()
  endif()
  set(${out} "${line}" PARENT_SCOPE)
endfunction()
set(release "unknown system")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release pretty REGEX "^PRETTY_NAME=")
  string(REGEX REPLACE "^PRETTY_NAME=\"?([^\"]*)\"?$" "\\1" release "${pretty}")
endif()
set(buildInfo "${NAME}: zvx.exe and this zip were built from commit ${commit}\non ${release} with\n")
set(toolPaths "")
foreach(tool ${TOOLS})
  if(NOT IS_ABSOLUTE "${tool}")
    unset(toolPath CACHE)
    find_program(toolPath "${tool}" REQUIRED)
    set(tool "${toolPath}")
  endif()
  list(APPEND toolPaths "${tool}")
endforeach()
foreach(what ${toolPaths} mingw-w64-common mingw-w64-i686-dev "${CMAKE_COMMAND}" "${ZIP}")
  package_version(line "${what}")
  string(APPEND buildInfo "  ${line}\n")
endforeach()
string(APPEND buildInfo "The same toolchain builds the same bytes from the same commit.\n")
file(WRITE "${OUTPUT_DIR}/BUILDINFO.txt" "${buildInfo}")

set(stage "${OUTPUT_DIR}/package-stage")
set(folder "${stage}/${NAME}")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${EXE}" "${folder}/zvx.exe")
file(COPY_FILE "${README}" "${folder}/README.txt")
file(COPY_FILE "${OUTPUT_DIR}/BUILDINFO.txt" "${folder}/BUILDINFO.txt")
# Whatever the umask of the build: the same modes in every zip.
file(CHMOD "${folder}/zvx.exe" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD "${folder}/README.txt" "${folder}/BUILDINFO.txt" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND "${TOUCH}" -d "@${epoch}" "${folder}/zvx.exe" "${folder}/README.txt"
  "${folder}/BUILDINFO.txt" COMMAND_ERROR_IS_FATAL ANY)

# zip adds to an existing archive, so start afresh. The zip format stores
# local times: UTC makes them the same everywhere.
set(zipfile "${OUTPUT_DIR}/${NAME}.zip")
file(REMOVE "${zipfile}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${ZIP}" -X -D -9 -q "${zipfile}" "${NAME}/zvx.exe" "${NAME}/README.txt" "${NAME}/BUILDINFO.txt"
  WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)

file(SHA256 "${folder}/zvx.exe" exeSum)
file(SHA256 "${zipfile}" zipSum)
set(sums "${exeSum}  zvx.exe\n${zipSum}  ${NAME}.zip\n")
file(WRITE "${OUTPUT_DIR}/SHA256SUMS" "${sums}")
file(REMOVE_RECURSE "${stage}")
message("${zipfile}\n${OUTPUT_DIR}/BUILDINFO.txt:\n${buildInfo}${OUTPUT_DIR}/SHA256SUMS:\n${sums}")
