# Cross build of a 64-bit copy of the plug-ins with MinGW-w64 (win32 thread
# model, as the 32-bit build), for running the plug-in tests under Wine where
# 32-bit programs cannot run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The same declarations as the 32-bit build: code that calls a function
# newer than Windows XP fails here too.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsFloor.cmake)

# Everything static: the plug-ins must import system DLLs only. No link time
# in the PE headers, so the same commit builds the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
