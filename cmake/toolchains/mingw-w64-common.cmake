# Shared by the MinGW-w64 toolchain files: NORVESSA_MINGW_TRIPLE names the target.
# The -posix compilers carry std::thread and std::mutex (the default -win32 ones do not), and
# -static links the C and C++ runtimes and winpthread into each program, so that a program
# imports only Windows' own DLLs and runs from any folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${NORVESSA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORVESSA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NORVESSA_MINGW_TRIPLE}-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_FIND_ROOT_PATH /usr/${NORVESSA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The project runs what it builds here under Wine, in a prefix inside the build folder
# (cmake/NorvessaWindows.cmake sets CMAKE_CROSSCOMPILING_EMULATOR).
