# Test plumbing shared by every test folder.
#
# Windows build: test programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR,
# a wrapper that uses a private prefix inside the build folder
# (tools/wine-prefix.sh prepares it before ctest runs).
enable_testing()
include(GoogleTest)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(TAVREL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file(${PROJECT_SOURCE_DIR}/tools/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  message(FATAL_ERROR "GoogleTest sources not found: apt-get install googletest")
endif()

# tavrel_add_gtest(NAME name SOURCES ... LIBS ... [TIMEOUT seconds] [SERIAL])
# One GoogleTest program, run by ctest as one test. (One process per program
# keeps Wine start-ups few; GoogleTest's own output names any failing case.)
function(tavrel_add_gtest)
  cmake_parse_arguments(T "SERIAL" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  tavrel_add_test_program(NAME ${T_NAME} SOURCES ${T_SOURCES} LIBS ${T_LIBS} gtest gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    # The display's keyboard state and focus are shared by every test
    # program: a window opened by a test running beside this one would take
    # the focus and drop a key this test holds down.
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# tavrel_add_test_program(NAME name SOURCES ... LIBS ...)
# A program used by tests (a test child, a driver). Every test program lands
# in ${CMAKE_BINARY_DIR}/testbin, so tests find each other beside their own
# executable (GetModuleFileName), which works the same under Wine.
set(TAVREL_TESTBIN ${CMAKE_BINARY_DIR}/testbin)
function(tavrel_add_test_program)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/res)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVREL_TESTBIN})
endfunction()

# The program's resources (dialog templates, icon, strings, manifest) for a
# test program that creates the program's windows: a resource script must be
# a source of each executable, resources in a static library are dropped.
set(TAVREL_RESOURCES ${PROJECT_SOURCE_DIR}/res/tavrel.rc)
