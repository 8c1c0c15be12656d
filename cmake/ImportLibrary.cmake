# add_import_library(NAME DEF_FILE)
# An INTERFACE target that links an import library made from a .def file
# with dlltool -k: the decorated __stdcall symbols map onto the undecorated
# names the DLL exports.
function(add_import_library name def)
    get_filename_component(def ${def} ABSOLUTE)
    set(implib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
    add_custom_command(OUTPUT ${implib}
        COMMAND i686-w64-mingw32-dlltool -k -d ${def} -l ${implib}
        DEPENDS ${def})
    add_custom_target(${name}File DEPENDS ${implib})
    add_library(${name} INTERFACE)
    add_dependencies(${name} ${name}File)
    target_link_libraries(${name} INTERFACE ${implib})
endfunction()
