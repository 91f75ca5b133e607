# Unpacks the release archive and checks its files, the version in its name against the DLL's
# and the installer's version resources, and the DLL's imports.
# Run with -DZIP= -DVERSION= -DOBJDUMP= -DCHECK_IMPORTS=
set(dir ${CMAKE_CURRENT_BINARY_DIR}/release-check)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${dir} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ZIP}")
endif()

file(GLOB_RECURSE files RELATIVE ${dir} ${dir}/*)
list(SORT files)
set(expected lumomarker-${VERSION}/INSTALL.txt lumomarker-${VERSION}/gen_lumo.dll
    lumomarker-${VERSION}/gen_lumo.txt lumomarker-${VERSION}/lumomarker-${VERSION}-setup.exe)
if(NOT files STREQUAL expected)
  message(FATAL_ERROR "archive holds '${files}', expected '${expected}'")
endif()

# The version resource keeps its strings in UTF-16: look for FileVersion's value there.
string(HEX "${VERSION}" version_hex)
string(REGEX REPLACE "(..)" "\\100" version_utf16 "${version_hex}")
set(dll ${dir}/lumomarker-${VERSION}/gen_lumo.dll)
foreach(file ${dll} ${dir}/lumomarker-${VERSION}/lumomarker-${VERSION}-setup.exe)
  file(READ ${file} hex HEX)
  string(FIND "${hex}" "${version_utf16}" at)
  if(at EQUAL -1)
    get_filename_component(name ${file} NAME)
    message(FATAL_ERROR "the version resource of ${name} does not carry ${VERSION}")
  endif()
endforeach()

file(READ ${dir}/lumomarker-${VERSION}/gen_lumo.txt notes)
if(NOT notes MATCHES "LumoMarker")
  message(FATAL_ERROR "gen_lumo.txt in the archive is not the release notes")
endif()

set(DLL ${dll})
include(${CHECK_IMPORTS})
message(STATUS "release archive ${ZIP}: ${files}")
