# Windows executables come out the same, byte for byte, wherever and
# whenever they are built, and the shipped ones opt into the mitigations
# the toolchain supports.
if(NOT WIN32)
  return()
endif()

# No build folder inside the objects (__FILE__ in assertion texts, debug
# information): paths are kept relative to the source and build folders.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
# No link time in the PE header.
add_link_options(-Wl,--no-insert-timestamp)

# tavrel_ship_executable(target): what a program given to users needs.
function(tavrel_ship_executable target)
  target_link_options(${target} PRIVATE
    # No symbols and no debug information: the static runtime's would carry
    # the folders where the distribution built it.
    -s
    # ASLR, with the relocations it needs kept in the file.
    -Wl,--dynamicbase -Wl,--enable-reloc-section
    # DEP. (High-entropy ASLR exists only for 64-bit images.)
    -Wl,--nxcompat
    # GNU ld cannot write a table of safe exception handlers, and the
    # program registers none (its C++ exceptions unwind by DWARF tables):
    # marking the image as having no handler at all stops a handler forged
    # on the stack from pointing into it.
    -Wl,--no-seh)
endfunction()
