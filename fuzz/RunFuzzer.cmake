# Runs a fuzz target for a CTest test; any non-zero exit (a crash, a
# sanitizer report, a leak, a broken invariant) fails the test.
#   -DFUZZER=path -DCORPUS=seed-dir -DMODE=replay
#   -DFUZZER=path -DCORPUS=seed-dir -DSCRATCH=dir -DMODE=fuzz -DSECONDS=n
if(NOT EXISTS "${FUZZER}")
  message(FATAL_ERROR
    "The fuzzer binary ${FUZZER} does not exist. Build it with 'make fuzz-build' "
    "(or configure with -DHARMONET_FUZZ_BINARY_DIR=<folder of the harmonet-fuzz-* binaries>).")
endif()
if(NOT IS_DIRECTORY "${CORPUS}")
  message(FATAL_ERROR "The seed corpus ${CORPUS} is missing.")
endif()

if(MODE STREQUAL "replay")
  file(GLOB seeds "${CORPUS}/*")
  list(LENGTH seeds count)
  if(count EQUAL 0)
    message(FATAL_ERROR "The seed corpus ${CORPUS} is empty.")
  endif()
  execute_process(COMMAND "${FUZZER}" ${seeds} RESULT_VARIABLE result)
elseif(MODE STREQUAL "fuzz")
  file(MAKE_DIRECTORY "${SCRATCH}")
  execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SECONDS} -max_len=8192 -print_final_stats=1
            "${SCRATCH}" "${CORPUS}"
    RESULT_VARIABLE result)
else()
  message(FATAL_ERROR "Unknown MODE '${MODE}' (replay or fuzz).")
endif()

if(NOT result EQUAL 0)
  message(FATAL_ERROR "The fuzzer failed (${result}); its report is above.")
endif()
