# Windows packages, made by cpack in the build folder's paquete/:
#   tolvar-VERSION-win64.zip        tolvar.exe, tolvar-cli.exe, README.md, the licences
#                                   (LICENSE.txt, Tolvar's; TERCEROS.txt, the MinGW-w64
#                                   runtime's inside the programs) and the example directory
#                                   (its drawings and code table, none of the outputs a run
#                                   leaves there), in one folder;
#   tolvar-VERSION-win64-setup.exe  the same under Program Files\Tolvar, a Start-menu entry for
#                                   the window and an uninstaller listed among the installed
#                                   programs; made when NSIS's makensis is found.
if(TARGET tolvar)
  install(TARGETS tolvar RUNTIME DESTINATION .)
endif()
install(TARGETS tolvar-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# .txt, so that a double click opens them on Windows.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/windows/TERCEROS.txt DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples
        FILES_MATCHING PATTERN "*.dxf" PATTERN "*.tab")

set(CPACK_PACKAGE_NAME tolvar)
set(CPACK_PACKAGE_VENDOR Tolvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts ASCII DXF map drawings into binary .bin files")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquete)

find_program(TOLVAR_MAKENSIS makensis)
if(TOLVAR_MAKENSIS)
  set(CPACK_GENERATOR ZIP NSIS)
else()
  set(CPACK_GENERATOR ZIP)
endif()

set(CPACK_PACKAGE_INSTALL_DIRECTORY Tolvar)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tolvar)
set(CPACK_NSIS_PACKAGE_NAME Tolvar)
set(CPACK_NSIS_DISPLAY_NAME "Tolvar ${PROJECT_VERSION}")
# The programs are 64-bit: so is the installer, which then installs under the 64-bit Program
# Files and writes the 64-bit registry, where the list of installed programs looks.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# The Start-menu entry: the window, named as the program is.
set(CPACK_PACKAGE_EXECUTABLES tolvar Tolvar)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME tolvar.exe)
# The installer's licence page shows Tolvar's licence.
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# Installing again over an installed copy removes the old files first.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# What differs between the two packages: the zip unpacks into a folder of its own; the
# installer's name says what it is.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/paquete_windows_generador.cmake)
include(CPack)
