# The program's libraries as the soak links them: the same objects, with every
# reference to an allocating or releasing function for which
# ProgramAllocations.cpp has a hook renamed to that hook, in one archive.
# The objects are the ones zvx.exe is linked from; only the names of the
# functions they call change.
#
#   cmake -DARCHIVES=a.a|b.a -DHOOKS=hooks.a -DOUTPUT=out.a -DNM=.. -DOBJCOPY=.. -DAR=.. -P CountedProgram.cmake
#   cmake -DARCHIVES=a.a|b.a -DHOOKS=hooks.a -DNM=.. -DCHECK=ON -P CountedProgram.cmake
#
# With CHECK it writes nothing and fails when the program calls a function
# that allocates or releases and has no hook, naming it: new program code
# stays counted, or the seam says what it misses.
cmake_policy(VERSION 3.25)

# Functions that make or free something the caller owns, by name (imports
# without their decoration, runtime symbols without their leading underscore).
set(allocating "^(Create|Delete|Destroy|Copy(Image|Icon|Cursor)|Load(Bitmap|Image|Icon|Cursor)|ImageList_(Create|Destroy|Duplicate|Merge|Read|LoadImage)|Heap(Alloc|ReAlloc|Free|Create|Destroy)|Global(Alloc|ReAlloc|Free)|Local(Alloc|ReAlloc|Free)|Get(DC|DCEx|WindowDC)$|ReleaseDC$|BeginPaint$|EndPaint$|CoTaskMem|SysAlloc|SysFree|(m|c|re)alloc$|free$|_?strdup$|_Zn[wa]|_Zd[la])")
# Matched by that pattern, but nothing the hooks should count: windows (the
# soak counts the process's windows), critical sections, the system's shared
# cursors and icons, a stream released through its COM interface, and the
# strings that a screen reader's answers hand over for the reader to free.
set(notCounted CreateWindowExA CreateDialogParamA CreateDialogIndirectParamA DestroyWindow DeleteCriticalSection
               LoadCursorA LoadIconA CreateStreamOnHGlobal SysAllocStringLen)

# Symbol names in an archive: undefined ones into undefinedVar, defined ones into definedVar.
function(read_symbols archive undefinedVar definedVar)
  execute_process(COMMAND ${NM} ${archive} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${NM} ${archive} failed")
  endif()
  string(REGEX MATCHALL "[0-9a-fA-F ]+ [A-Za-z] [^\n]+" lines "${listing}")
  set(undefined ${${undefinedVar}})
  set(defined ${${definedVar}})
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[0-9a-fA-F ]+ ([A-Za-z]) (.+)$" "\\1;\\2" parts "${line}")
    list(GET parts 0 type)
    list(GET parts 1 name)
    if(type STREQUAL "U")
      list(APPEND undefined ${name})
    else()
      list(APPEND defined ${name})
    endif()
  endforeach()
  set(${undefinedVar} ${undefined} PARENT_SCOPE)
  set(${definedVar} ${defined} PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" ARCHIVES "${ARCHIVES}")
set(programUndefined)
set(programDefined)
foreach(archive IN LISTS ARCHIVES)
  read_symbols(${archive} programUndefined programDefined)
endforeach()
list(REMOVE_DUPLICATES programUndefined)
list(REMOVE_ITEM programUndefined ${programDefined})
set(hooksUndefined)
set(hooks)
read_symbols(${HOOKS} hooksUndefined hooks)

set(renames "")
set(counted)
set(missing)
foreach(symbol IN LISTS programUndefined)
  if(symbol MATCHES "^__imp__(.+)$")
    string(REGEX REPLACE "@[0-9]+$" "" name "${CMAKE_MATCH_1}")
    set(hook "_zvxImport_${name}")
  else()
    string(SUBSTRING "${symbol}" 1 -1 name)
    set(hook "_zvxDirect_${name}")
  endif()
  if(hook IN_LIST hooks)
    string(APPEND renames "${symbol} ${hook}\n")
    list(APPEND counted ${name})
  elseif(name MATCHES "${allocating}" AND NOT name IN_LIST notCounted)
    list(APPEND missing ${name})
  endif()
endforeach()

if(CHECK)
  list(SORT counted)
  string(REPLACE ";" " " counted "${counted}")
  message(STATUS "counted calls of the program: ${counted}")
  if(missing)
    string(REPLACE ";" " " missing "${missing}")
    message(FATAL_ERROR "The program calls functions that allocate or release and that the soak does not "
                        "count: ${missing}. Add a hook for each to tests/quality/ProgramAllocations.cpp, or "
                        "name it in notCounted in tests/quality/CountedProgram.cmake with the reason.")
  endif()
  return()
endif()

get_filename_component(work ${OUTPUT} DIRECTORY)
file(WRITE ${work}/counted-renames.txt "${renames}")
set(mri "create ${OUTPUT}\n")
set(index 0)
foreach(archive IN LISTS ARCHIVES)
  set(copy ${work}/counted-part${index}.a)
  execute_process(COMMAND ${OBJCOPY} --redefine-syms=${work}/counted-renames.txt ${archive} ${copy}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${OBJCOPY} could not rename the calls in ${archive}")
  endif()
  string(APPEND mri "addlib ${copy}\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND mri "save\nend\n")
file(REMOVE ${OUTPUT})
file(WRITE ${work}/counted-archive.mri "${mri}")
execute_process(COMMAND ${AR} -M INPUT_FILE ${work}/counted-archive.mri RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${AR} could not join the program's archives into ${OUTPUT}")
endif()
