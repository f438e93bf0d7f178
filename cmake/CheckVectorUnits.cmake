# cmake -DNM=nm -DOBJECTS=a.o|b.o -P CheckVectorUnits.cmake: fails when an object compiled for a
# level of instruction sets defines a weak symbol, an inline function of external linkage whose
# copy the linker may hand to every level (see Foundation/Basis/Platform/Vector.h).
string(REPLACE "|" ";" objects "${OBJECTS}")
foreach(object ${objects})
  execute_process(COMMAND ${NM} --defined-only --demangle ${object} OUTPUT_VARIABLE symbols
                  RESULT_VARIABLE result)
  string(REGEX MATCHALL "[^\n]* [WVu] [^\n]*" weak "${symbols}")
  if(result OR weak)
    message(FATAL_ERROR "${object} defines shared inline symbols: ${weak}")
  endif()
endforeach()
list(LENGTH objects count)
message(STATUS "${count} units of levels of instruction sets define only their own symbols")
