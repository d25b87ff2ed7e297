# tolvar-cli-VERSION-win64.zip, made by cpack in the build folder: tolvar-cli.exe, README.md and
# the example directory (its drawings and code table, none of the outputs a run leaves there).
install(TARGETS tolvar-cli RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples
        FILES_MATCHING PATTERN "*.dxf" PATTERN "*.tab")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tolvar-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquete)
include(CPack)
