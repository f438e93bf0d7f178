# ct_idl(NAME IDL): compiles an IDL file with widl into NAME_h.h, NAME_i.c and NAME.tlb in one
# folder of the build, and makes the static library NAME_idl: the identifiers, with the folder
# (header and type library, for sources and resource scripts) as its include directory.
find_program(CT_WIDL NAMES ${CT_MINGW_TARGET}-widl widl REQUIRED)
# The type library's pointer width and Wine's stdole2.tlb of the same width.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CT_WIDL_TARGET --win64 -L /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(CT_WIDL_TARGET --win32 -L /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
set(CT_IDL_DIR ${CMAKE_BINARY_DIR}/idl)
file(MAKE_DIRECTORY ${CT_IDL_DIR})

function(ct_idl name idl)
  # Wine's IDL files stand in for the SDK's. widl's warnings about the duplicate identifiers in
  # those files are noise.
  set(widl ${CT_WIDL} ${CT_WIDL_TARGET} -I /usr/include/wine/wine/windows)
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
