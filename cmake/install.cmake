# Where the programs and their desktop files go, and the Debian package made of them.
include(GNUInstallDirs)

install(TARGETS loto loto-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES app/loto.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES window/resources/loto-16.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps
        RENAME loto.png)
install(FILES window/resources/loto-32.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME loto.png)
install(FILES window/resources/loto.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES cli/loto-sim.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME loto)
set(CPACK_PACKAGE_VERSION ${LOTO_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Equipe Loto 6/49 <equipe@loto649.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs the platform plugins and the faces that stand in for Arial and Arial Black.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Simulation du Loto 6/49")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Saisissez six numéros favoris et un nombre de tirages : le programme tire des
combinaisons de six numéros sur 49 et montre, pour chaque nombre de bons
numéros, combien de tirages l'ont atteint, combien les probabilités exactes en
prévoient et l'écart en pour cent, après un test de rapidité qui prédit la fin
des tirages.

loto-sim fait les mêmes tirages sans fenêtre, pour les scripts et les très
longues séries.")
include(CPack)
