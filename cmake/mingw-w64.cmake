# What both cross toolchains share: Debian's mingw-w64 with POSIX threads
# (std::thread and friends need it). The including file sets DW_MINGW (the
# target triple) and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${DW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${DW_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
