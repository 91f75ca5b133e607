# Fails when the DLL imports anything but Windows system DLLs, or exports anything but the
# player's entry. Run with -DDLL=... -DOBJDUMP=...
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# Not the common dialogs (comdlg32.dll): loading them with the plug-in would add tens of
# milliseconds to the player's start; they are loaded when a file dialog first opens.
set(system_dlls kernel32.dll user32.dll gdi32.dll msvcrt.dll comctl32.dll advapi32.dll
    shell32.dll uxtheme.dll)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no import table found in ${DLL}")
endif()
foreach(line ${names})
  string(REPLACE "DLL Name: " "" name "${line}")
  string(TOLOWER "${name}" lower)
  list(FIND system_dlls "${lower}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${DLL} imports ${name}, which is not a Windows system DLL")
  endif()
  message(STATUS "imports ${name}")
endforeach()

# The export table lists exactly one name.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]*\n)+)" table "${dump}")
string(REGEX MATCHALL "\\] [A-Za-z0-9_@]+" exports "${CMAKE_MATCH_1}")
if(NOT exports STREQUAL "] winampGetGeneralPurposePlugin")
  message(FATAL_ERROR "exports are '${exports}', expected only winampGetGeneralPurposePlugin")
endif()

file(SIZE ${DLL} size)
# 192 KB: 38 KB of it is the banner, an 8-bit picture; the rest is code and dialogs, kept small
# by building without exceptions, RTTI and the C runtime's start-up.
set(largest 196608)
if(size GREATER largest)
  message(FATAL_ERROR "${DLL} is ${size} bytes, more than ${largest}")
endif()
message(STATUS "${DLL}: ${size} bytes, exports winampGetGeneralPurposePlugin")
