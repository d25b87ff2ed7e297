# What `cmake --install` puts on a Linux system, and the Debian package that `cpack` makes of
# it: tolvar_VERSION_amd64.deb in the build folder's paquete/. The package is meant to be made
# from a build with the window (TOLVAR_GUI); its dependencies come from dpkg-shlibdeps.
include(GNUInstallDirs)

set(doc ${CMAKE_INSTALL_DOCDIR})  # share/doc/tolvar
install(TARGETS tolvar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md CHANGELOG.md DESTINATION ${doc})
# Where the README's links expect them.
install(FILES docs/guia.md docs/formatos.md docs/tolvar.png docs/plano_norte.svg
        DESTINATION ${doc}/docs)
install(DIRECTORY examples/ DESTINATION ${doc}/examples
        FILES_MATCHING PATTERN "*.dxf" PATTERN "*.tab")
install(FILES linux/copyright DESTINATION ${doc})

if(TOLVAR_GUI)
  install(TARGETS tolvar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES linux/tolvar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(iconos ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES src/ui/iconos/tolvar.svg DESTINATION ${iconos}/scalable/apps)
  foreach(lado 16 24 32 48 64 128 256)
    install(FILES src/ui/iconos/tolvar-${lado}.png DESTINATION ${iconos}/${lado}x${lado}/apps
            RENAME tolvar.png)
  endforeach()
endif()

# Manual pages from the programs' own --help and --version, so that they say what the
# programs do; the include files add what --help has no room for. A cross-built program cannot
# run here, and without help2man there are no pages, only this notice.
set(paginas "")
find_program(TOLVAR_HELP2MAN help2man)
find_program(TOLVAR_GZIP gzip)
if(CMAKE_CROSSCOMPILING OR NOT TOLVAR_HELP2MAN OR NOT TOLVAR_GZIP)
  message(STATUS "No manual pages: help2man and gzip are needed, and programs that run here")
else()
  set(nombre_tolvar-cli "convert the ASCII DXF drawings of a directory into .bin and .err files")
  set(nombre_tolvar "the window of Tolvar, a converter of ASCII DXF drawings into .bin files")
  set(programas tolvar-cli)
  if(TOLVAR_GUI)
    list(APPEND programas tolvar)
  endif()
  # Ninja makes the folder of a command's output; Make does not, and help2man will not either.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
  foreach(programa IN LISTS programas)
    set(pagina ${CMAKE_BINARY_DIR}/man/${programa}.1)
    # Compressed with -n: no name or time stamp inside, the same bytes for the same page.
    add_custom_command(
      OUTPUT ${pagina} ${pagina}.gz
      COMMAND ${TOLVAR_HELP2MAN} --no-info --no-discard-stderr "--name=${nombre_${programa}}"
              --include=${PROJECT_SOURCE_DIR}/linux/${programa}.h2m --output=${pagina}
              $<TARGET_FILE:${programa}>
      COMMAND ${TOLVAR_GZIP} -9 -n -c ${pagina} > ${pagina}.gz
      DEPENDS ${programa} ${PROJECT_SOURCE_DIR}/linux/${programa}.h2m
      COMMENT "Manual page ${programa}(1)" VERBATIM)
    list(APPEND paginas ${pagina}.gz)
  endforeach()
  add_custom_target(paginas_man ALL DEPENDS ${paginas})
  install(FILES ${paginas} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package's own changelog, which Debian's tools look for beside the copyright; the story
# of each version is CHANGELOG.md. Its date is the build's, or SOURCE_DATE_EPOCH's.
set(TOLVAR_MANTENEDOR "Tolvar developers <maintainers@users.noreply.c-seed-4721f38e.example>"
    CACHE STRING "The Debian package's maintainer, NAME <EMAIL>")
if(TOLVAR_GZIP)
  string(TIMESTAMP TOLVAR_FECHA_PAQUETE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(linux/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
    COMMAND ${TOLVAR_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog
            > ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
  add_custom_target(changelog_debian ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/debian/changelog.gz DESTINATION ${doc})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tolvar_VERSION_ARCH.deb
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TOLVAR_MANTENEDOR})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of DXF map drawings into binary .bin files")
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tolvar converts every ASCII DXF drawing of a directory into the compact
binary files that surveying and cartography programs read: NAME.bin
holds one record per polyline, point, text and triangle, with
coordinates in thousandths of a drawing unit and each layer replaced by
its short code from the directory's table dxfbin.tab; NAME.err lists
the layers that the table does not classify.
.
The package holds the window tolvar (Qt 6, in Spanish) and the
command-line program tolvar-cli, which also shows what a .bin holds, as
text, JSON or an SVG map.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquete)
include(CPack)
