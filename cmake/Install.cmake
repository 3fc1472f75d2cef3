# What `cmake --install` puts where, and the Debian package CPack builds
# from it (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

install(TARGETS velmarin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VELMARIN_GUI)
    install(TARGETS velmarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Loaded by the window program when an embedded browser is first shown;
    # it looks for it here, relative to its own folder.
    install(TARGETS velmarin_webview LIBRARY DESTINATION ${VELMARIN_WEBVIEW_INSTALL_LIBDIR})
endif()
install(FILES data/velmarin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/velmarin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The manual refers to the screenshots one folder up, as in docs/.
install(DIRECTORY docs/help DESTINATION ${CMAKE_INSTALL_DATADIR}/velmarin)
file(GLOB screenshots ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${screenshots} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmarin)
install(FILES docs/velmarin-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmarin developers <velmarin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Checker for web-page authors with a Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmarin runs HTML Tidy on pages, folders and URLs and lists its report,\n\
checks style sheets with a CSS validator on Java and verifies every link\n\
of a page. Its windows and messages are in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
# The Qt 6 libraries (WebEngine included) come from the programs' own links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qtbase_ja.qm: Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tidy, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-noto-cjk, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
    "default-jre-headless | java-runtime-headless, chromium | firefox-esr | firefox")
include(CPack)
