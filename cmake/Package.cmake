# The Debian package (cpack -G DEB, run by scripts/package): named and versioned after the build,
# its library dependencies computed by dpkg-shlibdeps from the stripped programs.
# The maintainer is the project's contact in packaging/copyright, so the address lives in one place.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/copyright contact_line REGEX "^Upstream-Contact: "
    LIMIT_COUNT 1)
string(REGEX REPLACE "^Upstream-Contact: " "" CLIPWRIGHT_MAINTAINER "${contact_line}")
if(NOT CLIPWRIGHT_MAINTAINER MATCHES "^[^<]+ <[^>]+@[^>]+>$")
    message(FATAL_ERROR "packaging/copyright names no Upstream-Contact of the form Name <address>")
endif()

# A native package's changelog and its copyright, in /usr/share/doc/clipwright.
string(TIMESTAMP CLIPWRIGHT_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
file(WRITE ${changelog}
    "clipwright (${CLIPWRIGHT_VERSION}) unstable; urgency=medium\n\n"
    "  * Built from the source at version ${CLIPWRIGHT_VERSION}.\n\n"
    " -- ${CLIPWRIGHT_MAINTAINER}  ${CLIPWRIGHT_CHANGELOG_DATE}\n")
execute_process(COMMAND gzip -9nf ${changelog})
install(FILES ${changelog}.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/clipwright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clipwright)
set(CPACK_PACKAGE_VERSION ${CLIPWRIGHT_VERSION})
set(CPACK_PACKAGE_CONTACT ${CLIPWRIGHT_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${CLIPWRIGHT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The toolkit loads its display plugins (X11, Wayland, offscreen) at run time, which
# dpkg-shlibdeps cannot see; Japanese captions need a CJK font, and Qt's own buttons and dialogs
# speak French and Japanese only with the toolkit's translations (English without them).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "edit controller for home video on the Tarn bus")
# The synopsis line comes from the summary above; this is the extended description.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Clipwright drives two tape decks on the serial Tarn device-control bus: a\n"
    "player, usually a camcorder, and a recorder, usually a VCR. Scenes are marked\n"
    "from the running tape into an edit list, trimmed frame by frame, and assembled\n"
    "onto the recorder's tape with the player's effects and transitions.\n"
    "\n"
    "The package also holds clipwright-cli, the same functions from a terminal, and\n"
    "tarn-sim, a simulator of the bus for trying the program without decks.")
include(CPack)
