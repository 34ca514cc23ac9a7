# The oldest Windows the files support, Windows XP (0x0501): MinGW-w64's
# headers then declare no function that came later, so calling one is a
# compile error. The C runtime's _s functions and what the static libraries
# bring are not guarded that way; the import checks of the built files are.
set(CMAKE_C_FLAGS_INIT   "-D_WIN32_WINNT=0x0501 -DWINVER=0x0501")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0501 -DWINVER=0x0501")
