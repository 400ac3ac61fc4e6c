# Runs enumgen at build time: its echo of the rewritten files goes to a log so
# the build stays quiet, its messages to the build's output.
execute_process(COMMAND "${ENUMGEN}" WORKING_DIRECTORY "${WORK}" OUTPUT_FILE "${LOG}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "enumgen failed (${status}) in ${WORK}")
endif()
