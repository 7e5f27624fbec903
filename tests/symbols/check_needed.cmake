# Fails unless the shared object LIB needs nothing but the libraries ALLOWED
# (a ;-list of sonames): qel_calendar promises C callers libc alone, with
# neither qel_datetime nor the C++ runtime behind it.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${READELF} -d ${LIB} OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${READELF} -d ${LIB} failed")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[([^]]*)\\]" lines "${dynamic}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".*\\[([^]]*)\\]" "\\1" soname "${line}")
  if(NOT soname IN_LIST ALLOWED)
    message(FATAL_ERROR "${LIB} needs ${soname}; allowed: ${ALLOWED}")
  endif()
endforeach()
message(STATUS "${LIB} needs only: ${lines}")
