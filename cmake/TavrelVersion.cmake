# The product's version lives in one place, the top-level project(VERSION).
# From it this file generates, into ${TAVREL_GENERATED}:
#  - tavrel_version.h: the numbers for the version resource and the tests;
#  - quickstart.rtf: the quick start, titled with the version;
#  - tavrel.manifest: the application manifest, naming the version;
# and puts the manual, titled with the version, beside the built program.
set(TAVREL_GENERATED ${CMAKE_BINARY_DIR}/generated)

# The version resource wants four numbers; missing parts are 0.
set(_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK})
set(_quad)
foreach(_part IN LISTS _parts)
  if(_part STREQUAL "")
    set(_part 0)
  endif()
  list(APPEND _quad ${_part})
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
