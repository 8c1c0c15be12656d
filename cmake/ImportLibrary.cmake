# The .def files list each __stdcall export with its 32-bit decoration
# ("InitSubApp@8"). 64-bit Windows has one calling convention and no
# decoration, so the 64-bit build uses a copy without the "@n" suffixes.

# wscbs_def_file(DEF_FILE OUT_VAR): the .def file for this build's width.
function(wscbs_def_file def out)
    get_filename_component(def ${def} ABSOLUTE)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(${out} ${def} PARENT_SCOPE)
        return()
    endif()
    get_filename_component(name ${def} NAME)
    set(plain ${CMAKE_CURRENT_BINARY_DIR}/undecorated/${name})
    file(READ ${def} text)
    string(REGEX REPLACE "\n([ \t]+[A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\n\\1" text "${text}")
    file(CONFIGURE OUTPUT ${plain} CONTENT "${text}" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    set(${out} ${plain} PARENT_SCOPE)
endfunction()

# add_import_library(NAME DEF_FILE)
# An INTERFACE target that links an import library made from a .def file
# with dlltool; -k maps the decorated 32-bit __stdcall symbols onto the
# undecorated names the DLL exports.
function(add_import_library name def)
    wscbs_def_file(${def} def)
    set(implib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
    add_custom_command(OUTPUT ${implib}
        COMMAND ${WSCBS_TRIPLE}-dlltool -k -d ${def} -l ${implib}
        DEPENDS ${def})
    add_custom_target(${name}File DEPENDS ${implib})
    add_library(${name} INTERFACE)
    add_dependencies(${name} ${name}File)
    target_link_libraries(${name} INTERFACE ${implib})
endfunction()
