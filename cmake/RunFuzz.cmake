# One short, time-capped libFuzzer run for ctest:
#   cmake -DFUZZER=<exe> -DSEEDS=<committed corpus> -DWORK=<scratch folder>
#         -DSECONDS=<n> [-DARGS=<flags;...>] -P RunFuzz.cmake
# The run starts from a fresh scratch folder that takes every new input, so
# the committed seeds are only read. A crash, leak, timeout or sanitizer
# report fails the test; the input that caused it is kept in WORK/artifacts.
foreach(var FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzz.cmake: ${var} not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
          -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/ ${ARGS}
          ${WORK}/corpus ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); inputs kept in ${WORK}/artifacts")
endif()
