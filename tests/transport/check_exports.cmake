# Fails unless the library's dynamic symbol table defines exactly the twelve functions.
# Usage: cmake -DLIBRARY=<path> -DNM=<nm> -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" lines "${symbols}")
set(names "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" name)
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected DeleteRequestFromHandle DeleteRequestFromUnitId End Init RequestAsyncRead
    RequestGetDeviceCount RequestStatusGet RequestStatusSetFeature RequestStatusWrite
    RequestWrite RequestWriteOne Debug)
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "libRadOdor.so exports:\n${names}\nexpected:\n${expected}")
endif()
