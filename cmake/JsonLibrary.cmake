# nlohmann-json (Debian nlohmann-json3-dev) is header-only: the host's copy
# serves the native and the Windows build alike. Only its own folder reaches
# the include path, through a link in the build tree: all of /usr/include
# would put the host's C headers in front of the Windows ones.
find_path(TAVREL_JSON_ROOT nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TAVREL_JSON_ROOT)
  message(FATAL_ERROR "nlohmann/json.hpp not found: apt-get install nlohmann-json3-dev")
endif()
set(TAVREL_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${TAVREL_JSON_INCLUDE})
file(CREATE_LINK ${TAVREL_JSON_ROOT}/nlohmann ${TAVREL_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(tavrel_json INTERFACE)
target_include_directories(tavrel_json SYSTEM INTERFACE ${TAVREL_JSON_INCLUDE})
