# Installation as a desktop application: cmake --install puts the program, the
# render and dump tools, the help pages, the example song, the menu entry, the
# software centres' listing, the icon and the manual page under the prefix
# (/usr/local unless told otherwise).
include(GNUInstallDirs)
set(HARMONET_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/harmonet)
install(TARGETS harmonet harmonet-render harmonet-dump harmonet-score RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES app/desktop/harmonet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/app/desktop/org.harmonet.harmonet.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES app/desktop/harmonet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_BINARY_DIR}/app/desktop/harmonet-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
  RENAME harmonet.png)
install(FILES ${PROJECT_BINARY_DIR}/app/desktop/harmonet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The program shows its help pages from inside itself; the same pages are
# installed for reading in a browser, with the example song.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/windows/help/ DESTINATION ${HARMONET_DOC_DIR}/help
  FILES_MATCHING PATTERN "*.html")
install(FILES ${PROJECT_SOURCE_DIR}/examples/old-hundredth.mid DESTINATION ${HARMONET_DOC_DIR}/examples)

# The Debian package of what cmake --install puts in place: cpack -G DEB in the
# build folder. Its dependencies are the shared libraries the programs use, as
# dpkg-shlibdeps finds them, and Qt's platform plugins, without which no
# window can open.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME harmonet)
set(CPACK_PACKAGE_VENDOR "Harmonet")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MIDI file player for singers learning their part of a choral piece")
set(CPACK_PACKAGE_DESCRIPTION "Harmonet plays Standard MIDI Files through its built-in synthesizer or a
MIDI port, with a panel per voice to mute it or give it another instrument,
a tempo control that keeps the place, and the words of a chosen voice
scrolling past as they are sung.")
set(CPACK_PACKAGE_CONTACT "Harmonet developers <harmonet@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own dialogs in the singer's language come with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont, qt6-translations-l10n")
include(CPack)
