cmake_minimum_required(VERSION 3.25)
# Reads the export and import tables of the Windows binary FILE with
# OBJDUMP and fails unless:
# - it is an image of FORMAT (pei-i386: 32-bit, pei-x86-64: 64-bit);
# - its export table names exactly EXPECTED (names separated by commas),
#   undecorated;
# - it imports only system DLLs, so no MinGW runtime DLL must lie beside it.
execute_process(COMMAND ${OBJDUMP} -p ${FILE}
                OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${FILE}")
endif()
if(NOT dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "${FILE} is not a ${FORMAT} image")
endif()

# "[Ordinal/Name Pointer] Table" lists one "[   n] Name" line per export.
set(names "")
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start GREATER_EQUAL 0)
  string(SUBSTRING "${dump}" ${start} -1 table)
  string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" rows "${table}")
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^\n\t\\[ *[0-9]+\\] " "" name "${row}")
    list(APPEND names "${name}")
  endforeach()
endif()
list(SORT names)
string(REPLACE "," ";" expected "${EXPECTED}")
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${FILE} exports: ${names}\nexpected: ${expected}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(system KERNEL32.DLL USER32.DLL GDI32.DLL COMCTL32.DLL MSVCRT.DLL
    ADVAPI32.DLL WS2_32.DLL SHELL32.DLL OLE32.DLL)
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  if(NOT upper IN_LIST system)
    message(FATAL_ERROR "${FILE} needs ${dll} beside it")
  endif()
endforeach()
message(STATUS "${FILE} exports: ${names}")
