# The portable core as a 32-bit Linux program (g++ -m32, from g++-multilib),
# so that its tests and fuzz seeds run with the plug-ins' 32-bit size_t,
# pointers and long. Where the kernel refuses 32-bit programs, the tests run
# under user-mode emulation, qemu-i386-static PROGRAM, which needs no
# registration and leaves nothing behind.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER   gcc)
set(CMAKE_CXX_COMPILER g++)

execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/runs-32bit.sh RESULT_VARIABLE runs_32bit)
if(NOT runs_32bit EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static)
endif()
