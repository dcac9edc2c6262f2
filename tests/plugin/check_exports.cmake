# Lists the defined dynamic symbols of LIBRARY and fails unless they are
# exactly funcGetInfo and DownlaodFunc.
find_program(NM NAMES nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${table}")
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* ([^ ]+)$" "\\1" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
if(NOT names STREQUAL "DownlaodFunc;funcGetInfo")
  message(FATAL_ERROR "exported: ${names}")
endif()
message(STATUS "exported: ${names}")
