# ct_idl(NAME IDL): compiles an IDL file with widl into NAME_h.h, NAME_i.c and NAME.tlb in one
# folder of the build, and makes the static library NAME_idl: the identifiers, with the folder
# (header and type library, for sources and resource scripts) as its include directory.
find_program(CT_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
set(CT_IDL_DIR ${CMAKE_BINARY_DIR}/idl)
file(MAKE_DIRECTORY ${CT_IDL_DIR})

function(ct_idl name idl)
  # Wine's IDL files stand in for the SDK's; stdole2.tlb comes from Wine too. widl's warnings
  # about the duplicate identifiers in those files are noise.
  set(widl ${CT_WIDL} --win32 -I /usr/include/wine/wine/windows
      -L /usr/lib/i386-linux-gnu/wine/i386-windows)
  set(out ${CT_IDL_DIR}/${name})
  add_custom_command(
    OUTPUT ${out}_h.h ${out}_i.c ${out}.tlb
    COMMAND ${widl} -h -H ${out}_h.h -u -U ${out}_i.c -t -T ${out}.tlb ${idl} > /dev/null
    DEPENDS ${idl}
    COMMENT "widl ${name}")
  add_custom_target(${name}_idl_files DEPENDS ${out}_h.h ${out}_i.c ${out}.tlb)
  add_library(${name}_idl STATIC ${out}_i.c)
  add_dependencies(${name}_idl ${name}_idl_files)
  target_include_directories(${name}_idl PUBLIC ${CT_IDL_DIR})
  target_link_libraries(${name}_idl PUBLIC ole32 oleaut32 uuid)
endfunction()
