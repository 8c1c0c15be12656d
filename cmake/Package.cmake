# The deployable tree, as `cmake --install BUILD --prefix DIR` lays it out
# and cpack packs it (wscbs-<version>-win32.zip / -win64.zip):
#   host/     the reference shell, the module, the runtime DLLs and every DLL
#             of the build they import (the GCC runtime among them, found
#             from the import tables), with the host's sample files; and
#             wscbs-check.exe, the installation check
#   WSCBS/    the sample sub-application folder
#   include/  the contract header, wscbs/wscbs.h
#   lib/      the import libraries for a host built with MSVC (wscbs.lib,
#             SharedRt.lib; GNU ld links them too) and ModuleLib.def, the
#             export list of a host's own services library
#   docs/     the host integration guide and its C example
#   check     the installation check's script (Linux, under Wine)
# The shell run from host/ finds everything it needs beside it. cpack strips
# every binary it packs, those copied from the import tables included, and
# builds only what it packs: `cpack` in a configured tree builds the
# packed targets first (CPACK_INSTALL_COMMANDS), and neither it nor the
# install step builds the tests.

# The import libraries of an MSVC host: the module's three exports and the
# runtime's C functions, from the contract header's lists.
wscbs_msvc_import_library(wscbs_msvc_lib ${CMAKE_BINARY_DIR}/contract/wscbs.def)
wscbs_contract_def(SharedRt.def WSCBS_RUNTIME_FUNCTIONS SharedRt.dll sharedrt_def CDECL)
wscbs_msvc_import_library(sharedrt_msvc_lib ${sharedrt_def})
# The export list for a host that brings its own ModuleLib.dll: the 30
# services, undecorated (MSVC's linker and GNU ld's --kill-at map them onto
# the __stdcall symbols).
set(services_def "; The 30 host services of include/wscbs/wscbs.h, exported by their undecorated names.\nLIBRARY ModuleLib.dll\nEXPORTS\n")
foreach(name IN LISTS WSCBS_HOST_SERVICE_NAMES)
    string(APPEND services_def "    ${name}\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/lib/ModuleLib.def CONTENT "${services_def}" @ONLY)

set(wscbs_installed MainFrame wscbs SharedRt XPKestrel ModuleLib wscbs-check)
set(wscbs_packed ${wscbs_installed} wscbs_msvc_lib sharedrt_msvc_lib)
# Everything the install step takes from the build: what a script builds
# before `cmake --install` in a tree that is not built whole.
add_custom_target(wscbs_installable)
add_dependencies(wscbs_installable ${wscbs_packed})
install(TARGETS ${wscbs_installed} RUNTIME DESTINATION host)
install(FILES ${PROJECT_SOURCE_DIR}/examples/host/MainFrame.ini ${PROJECT_SOURCE_DIR}/examples/host/action.ini
        DESTINATION host)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/WSCBS DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/wscbs DESTINATION include)
install(FILES ${CMAKE_BINARY_DIR}/lib/wscbs.lib ${CMAKE_BINARY_DIR}/lib/SharedRt.lib
              ${CMAKE_BINARY_DIR}/lib/ModuleLib.def
        DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/docs/host-integration.md ${PROJECT_SOURCE_DIR}/docs/host-example.c
        DESTINATION docs)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/check DESTINATION .)
# The DLLs the installed binaries import that the build has in bin/, and
# theirs in turn; stripped as the targets are when the install strips.
install(CODE "
    cmake_policy(VERSION 3.25)
    set(OBJDUMP \"${CMAKE_OBJDUMP}\")
    set(STRIP \"${CMAKE_STRIP}\")
    set(BIN \"${CMAKE_BINARY_DIR}/bin\")
    set(HOST \"\${CMAKE_INSTALL_PREFIX}/host\")
    set(ROOTS MainFrame.exe wscbs.dll wscbs-check.exe)
    set(INSTALLED \"$<TARGET_FILE_NAME:MainFrame>;$<TARGET_FILE_NAME:wscbs>;$<TARGET_FILE_NAME:SharedRt>;$<TARGET_FILE_NAME:XPKestrel>;$<TARGET_FILE_NAME:ModuleLib>;$<TARGET_FILE_NAME:wscbs-check>\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/InstallImports.cmake\")
")

# Neither `make install` nor cpack's own pre-install step builds the whole
# tree (its ~40 test programs); cpack builds the packed targets instead.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_INSTALL_COMMANDS "${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target wscbs_installable")
# The install step's own part; the commands above install nothing.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")

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
