# One rule decides what a native build leaves out: any source whose name ends
# in "_win.cpp" needs Windows and is compiled only by the Windows build.
function(dw_glob_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    if(NOT WIN32)
      list(FILTER found EXCLUDE REGEX "_win(_test)?\\.cpp$")
    endif()
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
