# Reads a built 32-bit file back: the functions it imports, exactly those of
# its list (tests/wine/imports/KIND.txt), the oldest Windows its header names
# (5.1, Windows XP, as its OS and subsystem version) and, given MAX_BYTES, its
# size. A new import fails here until someone decides it belongs.
# Arguments: FILE, NAME, LIST, OBJDUMP, MAX_BYTES (optional).
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${FILE}")
endif()

# "\tDLL Name: KERNEL32.dll" heads the functions imported from it, one a line:
# "\t<address>\t <hint>  <name>".
string(REGEX MATCH "The Import Tables.*" imports "${dump}")
string(REGEX REPLACE "\nThe Export Tables.*" "" imports "${imports}")
string(REPLACE ";" "," imports "${imports}")
string(REPLACE "\n" ";" lines "${imports}")
set(found "")
set(dll "")
foreach(line IN LISTS lines)
  if(line MATCHES "^\tDLL Name: ([^ ]+)$")
    set(dll ${CMAKE_MATCH_1})
  elseif(line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([^ ]+)$")
    list(APPEND found "${dll} ${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS ${LIST} wanted REGEX "^[^#]")
list(SORT found)
list(SORT wanted)
set(added ${found})
list(REMOVE_ITEM added ${wanted})
set(gone ${wanted})
list(REMOVE_ITEM gone ${found})
if(added OR gone OR NOT found)
  list(JOIN added "\n    " added)
  list(JOIN gone "\n    " gone)
  message(FATAL_ERROR "${NAME} does not import what ${LIST} lists:\n  imported, not listed:\n    ${added}\n  listed, not imported:\n    ${gone}")
endif()

foreach(field OSystemVersion SubsystemVersion)
  string(REGEX MATCH "\nMajor${field}[ \t]+([0-9]+)\nMinor${field}[ \t]+([0-9]+)" _ "${dump}")
  if(NOT "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}" STREQUAL "5.1")
    message(FATAL_ERROR "${NAME}: the header's ${field} is '${CMAKE_MATCH_1}.${CMAKE_MATCH_2}', not 5.1 (Windows XP)")
  endif()
endforeach()

file(SIZE ${FILE} bytes)
if(MAX_BYTES AND bytes GREATER MAX_BYTES)
  message(FATAL_ERROR "${NAME} is ${bytes} bytes, more than ${MAX_BYTES}")
endif()
list(LENGTH found count)
message(STATUS "${NAME}: ${count} imports as listed, Windows 5.1, ${bytes} bytes")
