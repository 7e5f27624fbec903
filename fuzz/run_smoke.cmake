# One short fuzzing run for CTest: a fresh scratch corpus (the fuzzer writes
# the inputs it finds there, never into the seeds in the source tree), a fixed
# seed and run count, and one second per input before it counts as a hang.
#   cmake -DFUZZER=<exe> -DSEEDS=<dir> -DSCRATCH=<dir> -DRUNS=<n> -P run_smoke.cmake
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(
  COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -timeout=1 -max_len=256 -print_final_stats=1
          -artifact_prefix=${SCRATCH}/ ${SCRATCH} ${SEEDS}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(GLOB found ${SCRATCH}/crash-* ${SCRATCH}/timeout-* ${SCRATCH}/leak-* ${SCRATCH}/oom-*)
  message(FATAL_ERROR "${FUZZER} failed (${status}); the input is kept in: ${found}")
endif()
