# Cross toolchain: Debian's mingw-w64 with POSIX threads (std::thread and
# friends need it), building Windows x86-64 executables.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${DW_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
