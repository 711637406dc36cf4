# Fails unless EXE is a 32-bit PE that imports only Windows system DLLs, and
# none of those the program binds on first use (controls/ShellApi, ThemeApi):
# imported, they would load at every start, and the program would not start
# where one is missing.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
if(NOT dump MATCHES "file format pei-i386")
  message(FATAL_ERROR "${EXE} is not a 32-bit PE")
endif()
set(system ADVAPI32 COMCTL32 COMDLG32 GDI32 KERNEL32 MSVCRT OLE32 OLEAUT32 USER32)
set(boundOnFirstUse SHELL32 UXTHEME)
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
foreach(line IN LISTS names)
  string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL].*" "\\1" dll "${line}")
  string(TOUPPER "${dll}" dll)
  if(dll IN_LIST boundOnFirstUse)
    message(FATAL_ERROR "${EXE} imports ${dll}.dll, which the program binds on first use")
  endif()
  if(NOT dll IN_LIST system)
    message(FATAL_ERROR "${EXE} imports ${dll}.dll, which is not a Windows system DLL")
  endif()
  message(STATUS "imports ${dll}.dll")
endforeach()

# The stack canary is the program's own (framework/StackGuard.cpp), seeded by
# the system's generator (RtlGenRandom, exported as SystemFunction036), not
# the toolchain's library, which seeds through a cryptographic provider and
# would be linked in if the program's guard were missing.
if(NOT dump MATCHES "[ \t]SystemFunction036[\r\n]")
  message(FATAL_ERROR "${EXE} does not import SystemFunction036: the program's own stack guard is not linked")
endif()
if(dump MATCHES "[ \t](CryptAcquireContextA|CryptGenRandom)[\r\n]")
  message(FATAL_ERROR "${EXE} imports ${CMAKE_MATCH_1}: the toolchain's stack guard is linked")
endif()
message(STATUS "stack guard: the program's own")
