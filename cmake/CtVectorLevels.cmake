# ct_add_vector_levels(NAME SOURCES files... [LIBRARIES libs...]): compiles the sources once per
# level of instruction sets (CT_VectorLevel, Foundation/Basis/Platform/Vector.h), each time as a
# unit of its own with the level's flags, CT_VECTOR_LEVEL set to the level's name and, for the
# plain level, CT_VECTOR_PLAIN. NAME is an interface library whose objects join any library or
# program that links it. LIBRARIES lend their usage requirements (compile options of an
# instrumented build, for example) to every compilation.
#
# Plain and SSE2 are compiled everywhere (SSE2 with the compiler's generic vectors off x86); AVX2
# and AVX512 on x86. The plain level takes the build's own flags: on i686 that assumes no SSE2.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86|x86_64|AMD64|i.86)$")
  set(ct_vector_levels Plain SSE2 AVX2 AVX512)
  set(ct_vector_flags_SSE2 -msse2)
  set(ct_vector_flags_AVX2 -mavx2 -mbmi -mbmi2 -mlzcnt -mpopcnt)
  set(ct_vector_flags_AVX512 -mavx512f -mavx512bw -mavx512vl -mavx512dq -mavx512vbmi
      -mavx512vbmi2 -mbmi -mbmi2 -mlzcnt -mpopcnt)
  # 64-bit Windows code cannot realign its stack frames for the wider registers' spills.
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(APPEND ct_vector_flags_AVX2 -Wa,-muse-unaligned-vector-move)
    list(APPEND ct_vector_flags_AVX512 -Wa,-muse-unaligned-vector-move)
  endif()
else()
  set(ct_vector_levels Plain SSE2)
endif()

function(ct_add_vector_levels name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_library(${name} INTERFACE)
  foreach(level ${ct_vector_levels})
    set(unit ${name}_${level})
    add_library(${unit} OBJECT ${arg_SOURCES})
    target_include_directories(${unit} PRIVATE ${PROJECT_SOURCE_DIR}/Foundation)
    target_compile_definitions(${unit} PRIVATE CT_BUILDING_LIBRARY CT_VECTOR_LEVEL=${level}
                               $<$<STREQUAL:${level},Plain>:CT_VECTOR_PLAIN>)
    target_compile_options(${unit} PRIVATE ${ct_vector_flags_${level}})
    target_link_libraries(${unit} PRIVATE ct_warnings ${arg_LIBRARIES})
    target_sources(${name} INTERFACE $<TARGET_OBJECTS:${unit}>)
  endforeach()
endfunction()
