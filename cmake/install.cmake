# Where the programs and their desktop files go, and the Debian package made of them.
include(GNUInstallDirs)

set(LOTO_APP_ID org.loto649.Loto)
set(LOTO_ICONS ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages and the changelog are installed compressed, as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(LOTO_COMPRESSED)
foreach(source app/loto.1 cli/loto-sim.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
    COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND LOTO_COMPRESSED ${compressed})
endforeach()
add_custom_target(loto_compressed ALL DEPENDS ${LOTO_COMPRESSED})

install(TARGETS loto RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/compressed/loto.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(LOTO_CLI)
  install(TARGETS loto-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/compressed/loto-sim.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES cli/loto-sim.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME loto-sim)
endif()
install(FILES app/${LOTO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES app/${LOTO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES window/resources/loto-${size}.png DESTINATION ${LOTO_ICONS}/${size}x${size}/apps
          RENAME ${LOTO_APP_ID}.png)
endforeach()
install(FILES window/resources/loto.svg DESTINATION ${LOTO_ICONS}/scalable/apps
        RENAME ${LOTO_APP_ID}.svg)
install(FILES packaging/copyright ${PROJECT_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME loto)
set(CPACK_PACKAGE_VERSION ${LOTO_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Equipe Loto 6/49 <equipe@loto649.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A simulation that compares chance with the exact probabilities: mathematics, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_STRIP_FILES ON)
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
