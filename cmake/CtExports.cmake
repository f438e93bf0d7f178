# ct_exports(TARGET DEF): exports TARGET's entry points through the module-definition file DEF,
# which names each stdcall function by its plain name and its 32-bit decorated symbol
# (`DllCanUnloadNow = DllCanUnloadNow@0`). x86-64 has no decoration: there the plain name is the
# symbol, and the build exports from a copy of DEF without the decorated names.
function(ct_exports target def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_sources(${target} PRIVATE ${def})
    return()
  endif()
  get_filename_component(name ${def} NAME)
  file(READ ${def} text)
  string(REGEX REPLACE " = [A-Za-z_][A-Za-z_0-9]*@[0-9]+" "" text "${text}")
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name} CONTENT "${text}" @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
endfunction()
