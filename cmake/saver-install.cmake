# SPDX-License-Identifier: MIT
# Installs what desktop screen savers look for: the module entries and the program where each
# saver runs its modules from (symbolic links to the installed program).
include(GNUInstallDirs)

# MATE's saver (and Xfce's and older Cinnamon's) lists the desktop entries of this folder.
install(FILES data/screensaver/pelorix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
# XScreenSaver's settings read a module's options from here.
install(FILES data/screensaver/pelorix.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

# Where each saver runs modules from, relative to the prefix. Debian's MATE keeps its modules
# under lib/, most others under libexec/.
set(PELORIX_SAVER_MODULE_DIRS
  "${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver"
  "lib/mate-screensaver/mate-screensaver"
  "${CMAKE_INSTALL_LIBEXECDIR}/xfce4-screensaver"
  CACHE STRING "Folders, relative to the prefix, that get a link to the program for screen-saver daemons")

foreach(dir IN LISTS PELORIX_SAVER_MODULE_DIRS)
  # A relative link keeps working wherever the package's root is unpacked.
  file(RELATIVE_PATH target "${CMAKE_INSTALL_PREFIX}/${dir}" "${CMAKE_INSTALL_FULL_BINDIR}/pelorix")
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}/pelorix\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dir}\")
    message(STATUS \"Installing: \${link} -> ${target}\")
    file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
  ")
endforeach()
