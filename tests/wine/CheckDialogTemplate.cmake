# Reads a built replay plug-in back and checks that it carries the comment
# editor's dialog template 101: the 166 bytes of the classic template, once.
# The Wine tests load the template through the resource functions; this
# check also covers the 32-bit plug-ins, which cannot be loaded here.
# Arguments: PLUGIN, NAME.
string(CONCAT expected
  # style 0x90C808CC, no extended style, 3 controls, 0 0 275 201, no menu, default class
  "cc08c89000000000030000000000130" "1c9000000" "0000"
  # title コメントの編集, 9 point "Ms Shell Dlg"
  "b330e130f330c8306e30e87dc6960000" "0900" "4d00730020005300680065006c006c00200044006c0067000000" "0000"
  # edit 1001: 0x50B11084, 7 7 261 165, class atom 0x0081, no text, no creation data
  "8410b1500000000007000700" "0501a500" "e903" "ffff8100" "0000" "0000" "0000"
  # OK (1): 0x50010000, 81 179 51 15, button atom 0x0080
  "000001500000000051" "00b30033000f00" "0100" "ffff8000" "4f004b000000" "0000" "0000"
  # Cancel (2): 0x50010000, 142 179 51 15
  "00000150000000008e00b30033000f00" "0200" "ffff8000" "430061006e00630065006c000000" "0000"
)
string(LENGTH "${expected}" length)
if(NOT length EQUAL 332)
  message(FATAL_ERROR "the expected template is ${length} hex digits long, not 332")
endif()

file(READ "${PLUGIN}" content HEX)
string(FIND "${content}" "${expected}" first)
string(FIND "${content}" "${expected}" last REVERSE)
if(first EQUAL -1)
  message(FATAL_ERROR "${NAME} does not carry dialog template 101")
endif()
math(EXPR odd "${first} % 2")
if(NOT first EQUAL last OR odd)
  message(FATAL_ERROR "${NAME}: template bytes found at ${first} and ${last}")
endif()
math(EXPR offset "${first} / 2")
message(STATUS "${NAME}: dialog template 101 at file offset ${offset}")
