# What a release archive holds. The target release_stage lays it out in
# ${CMAKE_BINARY_DIR}/release/tavrel-VERSION/; tools/release.sh packs that
# folder into dist/tavrel-VERSION-win32.zip.
if(NOT WIN32)
  return()
endif()

set(TAVREL_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
set(_stage ${TAVREL_RELEASE_DIR}/tavrel-${PROJECT_VERSION})
set(_texts ${CMAKE_BINARY_DIR}/release-texts)

# The checker is built by its own part of the tree, when that part exists.
set(_shipped)
set(_programs)
foreach(_program tavrel tavrel-lint)
  if(TARGET ${_program})
    tavrel_ship_executable(${_program})
    list(APPEND _shipped ${_program})
    list(APPEND _programs $<TARGET_FILE:${_program}>)
  endif()
endforeach()
set(TAVREL_README_LINT_LINE "")
if(TARGET tavrel-lint)
  # Its version resource, so that its file properties name the version too.
  target_sources(tavrel-lint PRIVATE ${PROJECT_SOURCE_DIR}/res/tavrel-lint.rc)
  # Seen from the program's own folder: a property set in this one alone
  # left an old manifest in the linter after the manifest changed.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/res/tavrel-lint.rc TARGET_DIRECTORY tavrel-lint PROPERTIES
    OBJECT_DEPENDS "${TAVREL_GENERATED}/tavrel.manifest")
  set(TAVREL_README_LINT_LINE "  tavrel-lint.exe   checks form definitions, from a command prompt\n")
endif()

# Texts for Windows users: CR LF line ends, so that every Notepad shows them.
configure_file(${PROJECT_SOURCE_DIR}/docs/README-windows.txt ${_texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
file(GLOB _examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.gui)

add_custom_target(release_stage
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TAVREL_RELEASE_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_stage}/examples
  COMMAND ${CMAKE_COMMAND} -E copy ${_programs} ${CMAKE_BINARY_DIR}/manual.html
          ${_texts}/README.txt ${_texts}/LICENSE.txt ${_stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${_examples} ${_stage}/examples
  COMMENT "Laying out the release in ${_stage}"
  VERBATIM)
add_dependencies(release_stage ${_shipped})
