# Installing Pelorix (program, samples, launcher, icons, metadata, manual) and packaging it with CPack.
include(GNUInstallDirs)

set(PELORIX_APP_ID io.github.pelorix.Pelorix)

# The build tree mirrors the installed samples beside the program, so it finds them the same way.
add_custom_command(TARGET pelorix POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/assets/samples
          $<TARGET_FILE_DIR:pelorix>/share/pelorix/samples
  COMMENT "Copying the sample pictures beside the program")

install(TARGETS pelorix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its samples at ../share/pelorix/samples from its own folder.
install(DIRECTORY assets/samples DESTINATION ${CMAKE_INSTALL_DATADIR}/pelorix)
install(FILES data/${PELORIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${PELORIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/pelorix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size 48 64 128 256)
  install(FILES data/icons/${size}x${size}/${PELORIX_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian package: build/pelorix_<version>_amd64.deb, dependencies computed from the shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pelorix developers")
set(CPACK_PACKAGE_CONTACT "Pelorix developers <pelorix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sliding-block picture puzzle")
set(CPACK_PACKAGE_DESCRIPTION
  "Pelorix cuts a picture into a grid of 2 to 20 columns and rows, scrambles it by a\n"
  "random walk of the hole, and lets you slide the pieces home with the mouse or the\n"
  "arrow keys, or watch the computer retrace the scramble. Animated puzzles show a\n"
  "moving picture cut up over the board, and a screen-saver mode plays puzzle after\n"
  "puzzle. Your own photos become puzzles by dropping them on the window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_NAME pelorix)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
