# What `cmake --install` puts where, and the Debian package built from it
# with `cpack -G DEB`.

include(GNUInstallDirs)

install(TARGETS zkt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/cli/zkt.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(SOLVENA_BUILD_GUI)
    install(TARGETS solvena RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_SOURCE_DIR}/resources/solvena.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/solvena-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME solvena.xml)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/solvena-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME solvena.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/solvena.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Japanese text tool that enciphers documents with a pass number")
set(CPACK_PACKAGE_DESCRIPTION
    "ソルベナ (Solvena) enciphers a whole document in place with a pass number of up to\n"
    "four digits and deciphers it again; zkt does the same from a shell. Files are\n"
    "exchanged byte for byte with the Windows program of 1999. The cipher hides text\n"
    "from a casual look; it is not encryption.")
set(CPACK_PACKAGE_CONTACT "Solvena developers <solvena@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: the SVG image plugin draws the icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
