# The Debian package, made by `cpack -G DEB` in a configured build (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvanta)
set(CPACK_PACKAGE_VENDOR "Corvanta developers")
set(CPACK_PACKAGE_CONTACT "Corvanta developers <corvanta@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop organiser for projects, topics and file pointers")
# The long description; CPack indents it for the control file and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Corvanta shows three side-by-side lists, Projects, Topics and Files, that
put files, folders, programs, websites and e-mail addresses three clicks
away: pick a project, pick one of its topics, and its file pointers are
listed. Double-clicking a pointer opens its target in the desktop's
program for it.

Everything is kept in plain text files in one data folder and written
back at once.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links come from dpkg-shlibdeps; what it loads or starts at run time
# does not show there: Qt's window system and SVG plugins, the desktop's opener and MIME
# database, and a font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, xdg-utils, shared-mime-info, fonts-dejavu-core | fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client, xterm | x-terminal-emulator")
include(CPack)
