# The product's version lives in one place, the top-level project(VERSION).
# From it this file generates, into ${TAVREL_GENERATED}:
#  - tavrel_version.h: the numbers for the version resource and the tests;
#  - quickstart.rtf: the quick start, titled with the version;
#  - tavrel.manifest: the application manifest, naming the version;
# and puts the manual, titled with the version, beside the built program.
set(TAVREL_GENERATED ${CMAKE_BINARY_DIR}/generated)

# The version resource and the manifest want four numbers; missing parts
# are 0.
set(_quad)
foreach(_part MAJOR MINOR PATCH TWEAK)
  set(_number "${PROJECT_VERSION_${_part}}")
  if(_number STREQUAL "")
    set(_number 0)
  endif()
  list(APPEND _quad ${_number})
endforeach()
list(JOIN _quad "," TAVREL_VERSION_COMMAS)
list(JOIN _quad "." TAVREL_VERSION_QUAD)

configure_file(${PROJECT_SOURCE_DIR}/res/version.h.in ${TAVREL_GENERATED}/tavrel_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/quickstart.rtf.in ${TAVREL_GENERATED}/quickstart.rtf @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/tavrel.manifest.in ${TAVREL_GENERATED}/tavrel.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/manual.html ${CMAKE_BINARY_DIR}/manual.html @ONLY)
# The resource script finds both generated files through this folder (a
# file named by RCDATA is searched for along the include path).
include_directories(${TAVREL_GENERATED})
