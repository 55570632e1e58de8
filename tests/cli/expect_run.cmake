# Runs one program and checks its exit code and output (and its standard error when
# ERRORS is given):
#   cmake -DRUN=<program;args> -DCODE=<exit code> -DOUTPUT=<regex> [-DERRORS=<regex>] -P expect_run.cmake
execute_process(COMMAND ${RUN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")
if(NOT code EQUAL CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${CODE}\n${out}${err}")
endif()
if(NOT out MATCHES "${OUTPUT}")
  message(FATAL_ERROR "output does not match ${OUTPUT}:\n${out}${err}")
endif()
if(DEFINED ERRORS AND NOT err MATCHES "${ERRORS}")
  message(FATAL_ERROR "standard error does not match ${ERRORS}:\n${err}")
endif()
message(STATUS "${out}")
