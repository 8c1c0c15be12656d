# The export lists of wscbs.dll and ModuleLib.dll come from the contract
# header, include/wscbs/wscbs.h: its X-macro lists WSCBS_EXPORTS and
# WSCBS_HOST_SERVICES, read through this build's own C preprocessor, so that
# the .def files, the import libraries and the export checks name exactly
# what the compiler sees.

set(WSCBS_CONTRACT_HEADER ${PROJECT_SOURCE_DIR}/include/wscbs/wscbs.h)

# An INTERFACE target that puts the contract header on the include path.
add_library(wscbs_contract INTERFACE)
target_include_directories(wscbs_contract INTERFACE ${PROJECT_SOURCE_DIR}/include)

# wscbs_contract_names(LIST NAMES_VAR SLOTS_VAR): the function names of one
# X-macro list of the header, in its order, and the number of arguments of
# each (32-bit stack slots).
function(wscbs_contract_names list names_out slots_out)
    set(probe ${CMAKE_BINARY_DIR}/contract/${list}.c)
    file(CONFIGURE OUTPUT ${probe} CONTENT "#include \"wscbs/wscbs.h\"
#define WSCBS_ENTRY_(result, name, parameters) WSCBS_ENTRY_BEGIN name parameters WSCBS_ENTRY_END
${list}(WSCBS_ENTRY_)
" @ONLY)
    execute_process(
        COMMAND ${CMAKE_C_COMPILER} -E -P -I${PROJECT_SOURCE_DIR}/include ${probe}
        OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot read ${list} from ${WSCBS_CONTRACT_HEADER}:\n${errors}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${WSCBS_CONTRACT_HEADER})
    string(REGEX MATCHALL "WSCBS_ENTRY_BEGIN[ \t\n]+[A-Za-z_][A-Za-z0-9_]*[ \t\n]*\\([^)]*\\)[ \t\n]*WSCBS_ENTRY_END"
           entries "${text}")
    set(names)
    set(slots)
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE "^WSCBS_ENTRY_BEGIN[ \t\n]+([A-Za-z0-9_]+).*$" "\\1" name "${entry}")
        string(REGEX REPLACE "^[^(]*\\(([^)]*)\\).*$" "\\1" parameters "${entry}")
        string(STRIP "${parameters}" parameters)
        if(parameters STREQUAL "" OR parameters STREQUAL "void")
            set(count 0)
        else()
            string(REGEX REPLACE "[^,]" "" commas "${parameters}")
            string(LENGTH "${commas}" count)
            math(EXPR count "${count} + 1")
        endif()
        list(APPEND names ${name})
        list(APPEND slots ${count})
    endforeach()
    if(NOT names)
        message(FATAL_ERROR "${list} of ${WSCBS_CONTRACT_HEADER} names no function")
    endif()
    set(${names_out} ${names} PARENT_SCOPE)
    set(${slots_out} ${slots} PARENT_SCOPE)
endfunction()

wscbs_contract_names(WSCBS_EXPORTS WSCBS_MODULE_EXPORTS wscbs_module_slots)
wscbs_contract_names(WSCBS_HOST_SERVICES WSCBS_HOST_SERVICE_NAMES wscbs_service_slots)
wscbs_contract_names(WSCBS_RUNTIME_FUNCTIONS WSCBS_RUNTIME_FUNCTION_NAMES wscbs_runtime_slots)

# wscbs_contract_def(FILE_NAME LIST LIBRARY OUT_VAR [CDECL] [EXTRA line...]): a
# .def file (build/contract/FILE_NAME) for this build's width listing one
# X-macro list of the header. 32-bit __stdcall names carry their
# decoration ("InitSubApp@8"), which the linker (--kill-at) and dlltool
# (-k) map onto the undecorated export; __cdecl names (CDECL: the runtime's
# C functions) and every 64-bit name have none. EXTRA lines follow the list
# as they are.
function(wscbs_contract_def file_name list library out)
    set(extras ${ARGN})
    set(decorate OFF)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(decorate ON)
    endif()
    if(extras)
        list(GET extras 0 first)
        if(first STREQUAL "CDECL")
            list(POP_FRONT extras)
            set(decorate OFF)
        endif()
    endif()
    wscbs_contract_names(${list} names slots)
    set(lines "; Generated from include/wscbs/wscbs.h (${list}).\nLIBRARY ${library}\nEXPORTS\n")
    foreach(name count IN ZIP_LISTS names slots)
        if(decorate)
            math(EXPR bytes "${count} * 4")
            string(APPEND lines "    ${name}@${bytes}\n")
        else()
            string(APPEND lines "    ${name}\n")
        endif()
    endforeach()
    foreach(extra IN LISTS extras)
        string(APPEND lines "    ${extra}\n")
    endforeach()
    set(def ${CMAKE_BINARY_DIR}/contract/${file_name})
    file(CONFIGURE OUTPUT ${def} CONTENT "${lines}" @ONLY)
    set(${out} ${def} PARENT_SCOPE)
endfunction()

# wscbs_msvc_import_library(TARGET DEF_FILE): lib/<name of the DLL>.lib in
# the build tree, the import library an MSVC host links (wscbs.lib,
# SharedRt.lib), made from the .def with LLVM's dlltool: 32-bit symbols are
# decorated as MSVC decorates them ("_InitSubApp@8" importing "InitSubApp",
# "_WscbsStringAssign"), 64-bit ones plain. GNU ld links these as well. The
# target is TARGET, built with the packed binaries.
find_program(WSCBS_LLVM_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool)
function(wscbs_msvc_import_library target def)
    if(NOT WSCBS_LLVM_DLLTOOL)
        message(FATAL_ERROR "LLVM's dlltool (llvm-dlltool-14, Debian package llvm-14) makes the MSVC import "
                            "libraries: scripts/bootstrap installs it")
    endif()
    get_filename_component(name ${def} NAME_WE)
    set(lib ${CMAKE_BINARY_DIR}/lib/${name}.lib)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(machine i386)
    else()
        set(machine i386:x86-64)
    endif()
    add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lib
        COMMAND ${WSCBS_LLVM_DLLTOOL} -m ${machine} -k -d ${def} -l ${lib}
        DEPENDS ${def})
    add_custom_target(${target} ALL DEPENDS ${lib})
    set_property(TARGET ${target} PROPERTY WSCBS_IMPORT_LIBRARY ${lib})
endfunction()

# add_import_library(NAME DEF_FILE)
# An INTERFACE target that links an import library made from a .def file
# with dlltool; -k maps the decorated 32-bit __stdcall symbols onto the
# undecorated names the DLL exports.
function(add_import_library name def)
    set(implib ${CMAKE_CURRENT_BINARY_DIR}/lib${name}.a)
    add_custom_command(OUTPUT ${implib}
        COMMAND ${WSCBS_TRIPLE}-dlltool -k -d ${def} -l ${implib}
        DEPENDS ${def})
    add_custom_target(${name}File DEPENDS ${implib})
    add_library(${name} INTERFACE)
    add_dependencies(${name} ${name}File)
    target_link_libraries(${name} INTERFACE ${implib})
endfunction()
