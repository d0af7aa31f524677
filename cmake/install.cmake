# SPDX-License-Identifier: MIT
# What `cmake --install` puts where. The Debian packages are built from
# these rules by debian/ (dpkg-buildpackage).

include(GNUInstallDirs)

# The manual pages carry the project's version.
configure_file(${CMAKE_SOURCE_DIR}/cli/zkt.1.in ${CMAKE_BINARY_DIR}/man/zkt.1 @ONLY)

install(TARGETS zkt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/man/zkt.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/cli/zkt-completion.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zkt)

if(SOLVENA_BUILD_GUI)
    configure_file(${CMAKE_SOURCE_DIR}/resources/solvena.1.in
                   ${CMAKE_BINARY_DIR}/man/solvena.1 @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/resources/solvena.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/metainfo/io.github.solvena.solvena.metainfo.xml @ONLY)

    install(TARGETS solvena RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_BINARY_DIR}/man/solvena.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/solvena.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/metainfo/io.github.solvena.solvena.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/solvena-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME solvena.xml)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/solvena-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME solvena.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/solvena.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
