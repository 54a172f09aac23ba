# Cross toolchain for Windows x86 (PE32, i386) executables: the ones a 32-bit
# Windows runs, and a 64-bit one through WOW64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(DW_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
