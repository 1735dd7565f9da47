# SPDX-License-Identifier: MIT
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
foreach(size IN LISTS PELORIX_ICON_SIZES)
  install(FILES data/icons/${size}x${size}/${PELORIX_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian package: build/pelorix_<version>_amd64.deb, dependencies computed from the shared libraries.
# `make package` builds only the program first, so installing must not build everything else.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelorix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pelorix developers")
set(CPACK_PACKAGE_CONTACT "Pelorix developers <pelorix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sliding-block picture puzzle")
# Lines of at most 79 characters: dpkg adds a blank before each, and 80 columns is the limit.
set(CPACK_PACKAGE_DESCRIPTION
  "Pelorix cuts a picture into a grid of 2 to 20 columns and rows, scrambles\n"
  "it by a random walk of the hole, and lets you slide the pieces home with the\n"
  "mouse or the arrow keys, or watch the computer retrace the scramble. Animated\n"
  "puzzles show a moving picture cut up over the board, and a screen-saver mode\n"
  "plays puzzle after puzzle. Your own photos become puzzles by dropping them on\n"
  "the window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_NAME pelorix)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Debian's layout for a game (program in /usr/games, gzipped manual, copyright and changelog) is
# given to the staged tree just before it is packed; a plain `cmake --install` keeps bin/.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian-layout.cmake)
set(CPACK_PELORIX_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_PELORIX_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_PELORIX_MANDIR ${CMAKE_INSTALL_MANDIR})
include(CPack)
