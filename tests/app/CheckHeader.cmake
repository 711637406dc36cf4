# Fails unless EXE carries the release's protections and stays within
# MAX_BYTES: an image the loader may move (DYNAMIC_BASE, with its base
# relocations kept: without them the loader cannot move it after all), data
# pages not executable (NX_COMPAT), no terminal-server compatibility shims
# (TERMINAL_SERVICE_AWARE, objdump's spelling).
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p -h ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCH "DllCharacteristics[^\n]*((\n\t+[A-Z_]+)*)" flags "${dump}")
foreach(flag DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE)
  if(NOT flags MATCHES "\t${flag}")
    message(FATAL_ERROR "${EXE}: DllCharacteristics lack ${flag}")
  endif()
endforeach()
if(NOT dump MATCHES "\n +[0-9]+ \\.reloc +0*[1-9a-f]")
  message(FATAL_ERROR "${EXE}: no base relocations (.reloc section)")
endif()
file(SIZE ${EXE} bytes)
if(bytes GREATER MAX_BYTES)
  message(FATAL_ERROR "${EXE}: ${bytes} bytes, more than ${MAX_BYTES}")
endif()
message(STATUS "${flags}\n.reloc present, ${bytes} bytes of at most ${MAX_BYTES}")
