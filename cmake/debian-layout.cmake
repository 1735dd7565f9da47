# SPDX-License-Identifier: MIT
# Run by CPack on the staged tree before it packs a .deb: gives the tree Debian's layout for a game.
# The program moves to games/ (the savers' links follow it), the manual pages are gzipped, and the
# package's documentation folder gets the machine-readable copyright file and the changelog.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(bindir "${CPACK_PELORIX_BINDIR}")
set(docdir "${root}/share/doc/${CPACK_DEBIAN_PACKAGE_NAME}")

function(gzip_best input output)
  # -n leaves the name and time out, so the same input always packs the same.
  execute_process(COMMAND gzip -9nc "${input}" OUTPUT_FILE "${output}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${input}: ${failed}")
  endif()
endfunction()

# The program: games/pelorix. Its samples stay found, at ../share/pelorix/samples from either folder.
file(MAKE_DIRECTORY "${root}/games")
file(RENAME "${root}/${bindir}/pelorix" "${root}/games/pelorix")
file(GLOB left "${root}/${bindir}/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/${bindir}")
endif()
# The screen savers' relative links led to <prefix>/<bindir>/pelorix; they now lead to games/.
file(GLOB_RECURSE links LIST_DIRECTORIES false "${root}/*")
foreach(link IN LISTS links)
  if(IS_SYMLINK "${link}")
    file(READ_SYMLINK "${link}" target)
    if(target MATCHES "^(\\.\\./)+${bindir}/pelorix$")
      string(REGEX REPLACE "${bindir}/pelorix$" "games/pelorix" target "${target}")
      file(REMOVE "${link}")
      file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
    endif()
  endif()
endforeach()

file(GLOB_RECURSE manuals "${root}/${CPACK_PELORIX_MANDIR}/man*/*")
foreach(manual IN LISTS manuals)
  gzip_best("${manual}" "${manual}.gz")
  file(REMOVE "${manual}")
endforeach()

file(MAKE_DIRECTORY "${docdir}")
gzip_best("${CPACK_PELORIX_SOURCE_DIR}/data/debian/changelog" "${docdir}/changelog.gz")

# The copyright file, from the licence: its copyright line, and its text as one License paragraph
# (each line indented by a blank, an empty line written " .").
file(READ "${CPACK_PELORIX_SOURCE_DIR}/LICENSE" licence)
if(NOT licence MATCHES "Copyright \\(c\\) ([^\n]+)")
  message(FATAL_ERROR "LICENSE has no copyright line")
endif()
set(holder "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" start)
if(start LESS 0)
  message(FATAL_ERROR "LICENSE is not the MIT licence text")
endif()
string(SUBSTRING "${licence}" ${start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
# Debian's name for the MIT licence text is Expat.
file(WRITE "${docdir}/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Pelorix\n"
  "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${holder}\n"
  "License: Expat\n"
  " ${terms}\n")
