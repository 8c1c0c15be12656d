# The deployable tree, as `cmake --install BUILD --prefix DIR` lays it out
# and cpack packs it (wscbs-<version>-win32.zip / -win64.zip):
#   host/     the reference shell, the module, the runtime DLLs and every DLL
#             of the build they import (the GCC runtime among them, found
#             from the import tables), with the host's sample files
#   WSCBS/    the sample sub-application folder
#   include/  the contract header, when there is one
#   docs/     the host integration guide, when there is one
# The shell run from host/ finds everything it needs beside it.
set(wscbs_installed MainFrame wscbs SharedRt XPKestrel ModuleLib)
install(TARGETS ${wscbs_installed} RUNTIME DESTINATION host)
install(FILES ${PROJECT_SOURCE_DIR}/examples/host/MainFrame.ini ${PROJECT_SOURCE_DIR}/examples/host/action.ini
        DESTINATION host)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/WSCBS DESTINATION .)
if(EXISTS ${PROJECT_SOURCE_DIR}/include/wscbs)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/wscbs DESTINATION include)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/host-integration.md)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/host-integration.md DESTINATION docs)
endif()
# The DLLs the installed binaries import that the build has in bin/, and
# theirs in turn.
install(CODE "
    cmake_policy(VERSION 3.25)
    set(OBJDUMP \"${CMAKE_OBJDUMP}\")
    set(BIN \"${CMAKE_BINARY_DIR}/bin\")
    set(HOST \"\${CMAKE_INSTALL_PREFIX}/host\")
    set(ROOTS MainFrame.exe wscbs.dll)
    include(\"${PROJECT_SOURCE_DIR}/cmake/InstallImports.cmake\")
")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(wscbs_package_width win64)
else()
    set(wscbs_package_width win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wscbs)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME wscbs-${PROJECT_VERSION}-${wscbs_package_width})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
