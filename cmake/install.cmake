# Where the programs and their desktop files go, and the Debian package made of them.
include(GNUInstallDirs)

set(LOTO_APP_ID org.loto649.Loto)
set(LOTO_ICONS ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages and the changelog are installed compressed, as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(LOTO_COMPRESSED)
foreach(source app/loto.1 packaging/loto-sim.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
    COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND LOTO_COMPRESSED ${compressed})
endforeach()
add_custom_target(loto_compressed ALL DEPENDS ${LOTO_COMPRESSED})

# Two packages from one source: loto, the window, and loto-sim, which needs no GUI library (only
# QtCore, for the locale's forms), for machines without a desktop.
install(TARGETS loto RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT loto)
install(FILES ${PROJECT_BINARY_DIR}/compressed/loto.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT loto)
install(FILES app/${LOTO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT loto)
install(FILES app/${LOTO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT loto)
foreach(size 16 32 48 64 128 256)
  install(FILES window/resources/loto-${size}.png DESTINATION ${LOTO_ICONS}/${size}x${size}/apps
          RENAME ${LOTO_APP_ID}.png COMPONENT loto)
endforeach()
install(FILES window/resources/loto.svg DESTINATION ${LOTO_ICONS}/scalable/apps
        RENAME ${LOTO_APP_ID}.svg COMPONENT loto)
# The one-file web page that `make web` writes into this build's web/ folder goes with the window.
if(LOTO_WEB)
  install(FILES ${PROJECT_BINARY_DIR}/web/loto.html DESTINATION ${CMAKE_INSTALL_DATADIR}/loto/web
          COMPONENT loto)
endif()
set(LOTO_PACKAGES loto)
if(LOTO_CLI)
  install(TARGETS loto-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sim)
  install(FILES ${PROJECT_BINARY_DIR}/compressed/loto-sim.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT sim)
  install(FILES packaging/loto-sim.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME loto-sim
          COMPONENT sim)
  # The example rules of four lotteries, as of their dates.
  install(DIRECTORY examples/rules DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/loto-sim/examples
          COMPONENT sim)
  list(APPEND LOTO_PACKAGES sim)
endif()
# Each package has its copyright and changelog, as Debian wants.
foreach(component ${LOTO_PACKAGES})
  set(package loto)
  if(component STREQUAL sim)
    set(package loto-sim)
  endif()
  install(FILES packaging/copyright ${PROJECT_BINARY_DIR}/compressed/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  # The compiler's .comment section says nothing that a user needs (lintian:
  # binary-has-unneeded-section); strip leaves it.
  install(CODE "execute_process(COMMAND objcopy --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${package}\")"
          COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Each package's synopsis is the first line of its own description below.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY IGNORE)
set(CPACK_COMPONENTS_ALL ${LOTO_PACKAGES})
set(CPACK_PACKAGE_NAME loto)
set(CPACK_PACKAGE_VERSION ${LOTO_VERSION_TEXT})
set(CPACK_PACKAGE_CONTACT "Equipe Loto 6/49 <equipe@loto649.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A simulation that compares chance with the exact probabilities: mathematics, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_LOTO_PACKAGE_NAME loto)
# The window needs the platform plugins and the faces that stand in for Arial and Arial Black.
set(CPACK_DEBIAN_LOTO_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_LOTO_DESCRIPTION "Simulation du Loto 6/49
Saisissez six numéros favoris et un nombre de tirages : le programme tire des
combinaisons de six numéros sur 49 et montre, pour chaque nombre de bons
numéros, combien de tirages l'ont atteint, combien les probabilités exactes en
prévoient et l'écart en pour cent, après un test de rapidité qui prédit la fin
des tirages.
.
Le paquet loto-sim fait les mêmes tirages sans fenêtre, pour les scripts et les
très longues séries.")
set(CPACK_DEBIAN_SIM_PACKAGE_NAME loto-sim)
set(CPACK_DEBIAN_SIM_DESCRIPTION "Loto 6/49 draws without a window
The same draws as the Loto 6/49 window, for scripts and very large runs: the
speed test and its estimate, the seven rows of matches against the exact
probabilities, in text, JSON or CSV, with significance tests, SVG charts and
the generator's raw output for test batteries. Needs no desktop.")
include(CPack)
