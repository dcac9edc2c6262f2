# tf_module_definition(DEF_FILE OUT_VAR): the module definition file to
# link. The files name each export's 32-bit symbol ("name = name@N", the
# Windows API calling convention's decoration); 64-bit Windows has one
# calling convention and no decoration, so there the "= name@N" goes.
function(tf_module_definition def out)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out} ${def} PARENT_SCOPE)
    return()
  endif()
  file(READ ${def} text)
  string(REGEX REPLACE " = [A-Za-z_]+@[0-9]+" "" text "${text}")
  get_filename_component(name ${def} NAME)
  set(undecorated ${CMAKE_CURRENT_BINARY_DIR}/${name})
  file(WRITE ${undecorated} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  set(${out} ${undecorated} PARENT_SCOPE)
endfunction()
