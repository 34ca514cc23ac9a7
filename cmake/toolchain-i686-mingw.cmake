# Cross build of the 32-bit Windows plug-ins with MinGW-w64, win32 thread
# model: its runtime brings no thread-control function and nothing newer than
# Windows XP into a DLL (the posix model links winpthreads, which does).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows XP SP3 is the oldest system the files load on: the headers declare
# nothing newer, and the PE headers say 5.1.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsFloor.cmake)
# The instruction set: i686 with CMOV (Pentium Pro and later), no MMX, SSE
# or SSE2, tuned for current processors. It is this compiler's default,
# written out so that a MinGW-w64 built with another default (SSE2, say)
# builds the same code.
string(APPEND CMAKE_C_FLAGS_INIT " -march=pentiumpro -mtune=generic")
string(APPEND CMAKE_CXX_FLAGS_INIT " -march=pentiumpro -mtune=generic")
set(floor "-Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1")

# Everything static: the plug-ins must import system DLLs only. No link time
# in the PE headers, so the same commit builds the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -Wl,--no-insert-timestamp ${floor}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp ${floor}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp ${floor}")
