# Fails when the DLL holds static constructors. The DLL runs no C runtime start-up (its entry
# point is our own DllMain), so a global object with a constructor, or a function-local static
# that needs one, would silently never be built. Reads the link map: the constructor list is the
# stretch between __CTOR_LIST__ and __DTOR_LIST__, which holds only its two end markers (8 bytes)
# when there are none; C runtime initializer sections (.CRT$XC*, .CRT$XI*) and .init_array must
# take no input. Run with -DMAP=...
file(STRINGS ${MAP} lines)
set(ctor "")
set(dtor "")
set(section "")
set(found "")
foreach(line IN LISTS lines)
  if(line MATCHES "^ +0x([0-9a-f]+) +___CTOR_LIST__ = \\.")
    set(ctor ${CMAKE_MATCH_1})
  elseif(line MATCHES "^ +0x([0-9a-f]+) +___DTOR_LIST__ = \\.")
    set(dtor ${CMAKE_MATCH_1})
  endif()
  # Input sections listed under an initializer pattern: " .ctors 0x... 0x4 file.o" or
  # " .CRT$XCU 0x... 0x4 file.o"; a size of 0 adds nothing.
  if(line MATCHES "^ (\\.ctors|\\.init_array|\\.CRT\\$X[CI][A-Z]*)[ .]+0x[0-9a-f]+ +0x([0-9a-f]+) +(.*)$")
    set(input "${CMAKE_MATCH_1} from ${CMAKE_MATCH_3}")
    if(NOT CMAKE_MATCH_2 MATCHES "^0+$")
      list(APPEND found "${input}")
    endif()
  endif()
endforeach()
if(ctor STREQUAL "" OR dtor STREQUAL "")
  message(FATAL_ERROR "no constructor list found in ${MAP}")
endif()
math(EXPR span "0x${dtor} - 0x${ctor}")
if(NOT span EQUAL 8 OR found)
  message(FATAL_ERROR "gen_lumo.dll holds static constructors (constructor list of ${span} bytes; ${found}): "
                      "they would never run, since the DLL has no C runtime start-up")
endif()
message(STATUS "no static constructors in the DLL")
