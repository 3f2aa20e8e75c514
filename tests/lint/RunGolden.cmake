# Runs tavrel-lint once and compares what it printed on standard output, and
# its exit status, with a golden file: the expected lines, then "[exit N]".
#   cmake -DLINT=... [-DEMULATOR=...] -DWORKDIR=... -DGOLDEN=... -DARGS=a;b -P RunGolden.cmake
execute_process(COMMAND ${EMULATOR} ${LINT} ${ARGS}
                WORKING_DIRECTORY ${WORKDIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(REPLACE "\r\n" "\n" out "${out}")
set(actual "${out}[exit ${rc}]\n")
file(READ ${GOLDEN} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "tavrel-lint ${ARGS}\n--- expected (${GOLDEN})\n${expected}--- actual\n${actual}--- standard error\n${err}")
endif()
