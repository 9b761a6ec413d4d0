# A stand-in's type library: widl builds it from IDL, and the resource script RC_IN, configured
# into OUT_RC with @STANDIN_TLB@ naming it, carries it as the TYPELIB resource.
function(standin_typelib idl rc_in out_rc)
  find_program(TOLVANU_WIDL NAMES ${TOOLCHAIN_PREFIX}-widl widl REQUIRED)
  get_filename_component(name ${out_rc} NAME_WE)
  set(STANDIN_TLB ${CMAKE_CURRENT_BINARY_DIR}/${name}.tlb)
  add_custom_command(OUTPUT ${STANDIN_TLB}
    COMMAND ${TOLVANU_WIDL} -t -o ${STANDIN_TLB} ${idl}
    DEPENDS ${idl}
    COMMENT "widl: the type library of ${name}")
  configure_file(${rc_in} ${out_rc} @ONLY)
  set_source_files_properties(${out_rc} PROPERTIES OBJECT_DEPENDS ${STANDIN_TLB})
endfunction()
