# GoogleTest: the system's library natively; for Windows, compiled from the
# sources Debian's googletest package installs.
if(WIN32)
  set(DW_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${DW_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(DW_GTEST_LIBS GTest::gmock GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    set(DW_GTEST_LIBS gmock gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  set(DW_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

# One test executable per directory of tests. Under Windows every test runs
# through the emulator wrapper, which shares one Xvfb and one wineserver
# between all tests of a ctest run (set up and torn down by the fixture).
function(dw_add_test_exe name)
  cmake_parse_arguments(arg "" "TIMEOUT" "DIRS;LIBS" ${ARGN})
  dw_glob_sources(srcs ${arg_DIRS})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE dw_core ${arg_LIBS} ${DW_GTEST_LIBS})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT})
  if(WIN32)
    # Tests share one desktop, clipboard and foreground window: one at a time.
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop)
    # Programs the tests start, by their full path (a Unix path; under Wine
    # it is reached through drive Z:).
    target_compile_definitions(${name} PRIVATE DW_TEST_PROJECT_VERSION="${PROJECT_VERSION}")
    foreach(prog practice_freecell clipboard_listener Dealwarden)
      if(TARGET ${prog})
        add_dependencies(${name} ${prog})
        string(TOUPPER ${prog} upper)
        target_compile_definitions(${name} PRIVATE DW_${upper}_EXE="$<TARGET_FILE:${prog}>")
      endif()
    endforeach()
  endif()
endfunction()
