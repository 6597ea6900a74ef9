# Installation and the Debian package (cpack -G DEB in the build folder, see
# scripts/package.sh): the program and its tools in bin, the desktop entry
# with the program icon in the hicolor theme, manual pages, and the Debian
# documentation files.
include(GNUInstallDirs)

install(TARGETS quillstock quillstock-sql quillstock-mkinv quillstock-mkdemo
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/quillstock.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon of the "About" tab, rendered at the sizes of the hicolor theme.
set(QUILLSTOCK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_dir ${CMAKE_BINARY_DIR}/icons)
set(icon_files)
foreach(size IN LISTS QUILLSTOCK_ICON_SIZES)
  list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/quillstock.png)
  install(FILES ${icon_dir}/${size}x${size}/apps/quillstock.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(OUTPUT ${icon_files}
                   COMMAND quillstock-icons ${icon_dir} ${QUILLSTOCK_ICON_SIZES}
                   DEPENDS quillstock-icons
                   COMMENT "Rendering the program icon")

# Debian wants manual pages and its changelog compressed, reproducibly (-n).
set(doc_dir ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${doc_dir}/changelog @ONLY)
set(gz_files ${doc_dir}/changelog.gz)
add_custom_command(OUTPUT ${doc_dir}/changelog.gz
                   COMMAND gzip -9nc ${doc_dir}/changelog > ${doc_dir}/changelog.gz
                   DEPENDS ${doc_dir}/changelog)
foreach(page quillstock quillstock-sql quillstock-mkinv quillstock-mkdemo)
  set(source ${CMAKE_SOURCE_DIR}/packaging/man/${page}.1)
  add_custom_command(OUTPUT ${doc_dir}/${page}.1.gz
                     COMMAND gzip -9nc ${source} > ${doc_dir}/${page}.1.gz
                     DEPENDS ${source})
  list(APPEND gz_files ${doc_dir}/${page}.1.gz)
  install(FILES ${doc_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${icon_files} ${gz_files})
install(FILES ${doc_dir}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillstock)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillstock)
set(CPACK_PACKAGE_VENDOR "Quillstock-Entwickler")
set(CPACK_PACKAGE_CONTACT "Quillstock-Entwickler <quillstock@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stock-taking of a library with a Veltrano catalogue")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quillstock helps a library take stock of its books when the catalogue is\n"
    "kept by the library software Veltrano in an Access database: the numbers\n"
    "of the books found on the shelves are typed or imported into inventory\n"
    "lists, and a report lists every book of the catalogue that was not found.\n"
    "Five checks find faulty catalogue records. Reports are exported as HTML,\n"
    "text, spreadsheet, Paradox, dBase and FoxPro files.\n"
    "\n"
    "Each user has a program folder of their own. On the first start it gets a\n"
    "demo catalogue with invented books to try the program on.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link come from dpkg-shlibdeps; Qt's
# platform plugins and xdg-open (which opens the reports) are loaded or run,
# not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
include(CPack)
