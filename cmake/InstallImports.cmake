# Run at install time: copies into HOST every DLL of BIN that the installed
# programs import, and those DLLs' own imports in turn, as read from the
# import tables with OBJDUMP. A DLL the install rules already put there
# (INSTALLED, stripped by them when the install strips) is not copied
# again; a copied one is stripped with STRIP when the install strips
# (cpack does). Expects OBJDUMP, STRIP, BIN, HOST, ROOTS (the file names to
# start from) and INSTALLED.
set(queue ${ROOTS})
set(done "")
while(queue)
    list(POP_FRONT queue name)
    if(name IN_LIST done)
        continue()
    endif()
    list(APPEND done ${name})
    execute_process(COMMAND ${OBJDUMP} -p ${BIN}/${name} OUTPUT_VARIABLE table RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot read the import table of ${BIN}/${name}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${table}")
    foreach(line IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${line}")
        string(STRIP "${dll}" dll)
        if(NOT EXISTS ${BIN}/${dll})
            continue()
        endif()
        list(APPEND queue ${dll})
        if(dll IN_LIST INSTALLED)
            continue()
        endif()
        file(INSTALL ${BIN}/${dll} DESTINATION ${HOST})
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND ${STRIP} --strip-unneeded ${HOST}/${dll} RESULT_VARIABLE failed)
            if(failed)
                message(FATAL_ERROR "cannot strip ${HOST}/${dll}")
            endif()
        endif()
    endforeach()
endwhile()
