# The Debian package (CPack DEB), built by scripts/package.sh into build/package/. It installs
# with the prefix /usr; its dependencies are worked out from the programs' libraries
# (dpkg-shlibdeps) plus what they load at run time.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx480)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The autostart entry goes to /etc whatever the prefix: install under DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(QX_PACKAGE_MAINTAINER "Quilvane Ostrand <qx480-driver@quilvane-ostrand.example>" CACHE STRING
    "The package's maintainer, as the Maintainer field and the changelog name it")
set(QX_COPYRIGHT_HOLDER "Quilvane Ostrand")
set(QX_COPYRIGHT_YEARS 2026)
set(CPACK_PACKAGE_CONTACT ${QX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QX_PACKAGE_MAINTAINER})

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "set up the keys, macros, lighting and profiles of the QX480 keyboard")
# Debian wants the lines of the long description shorter than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Varkon QX480 Driver lives in the desktop's notification area and sets up the
QX480 gaming keyboard: it remaps any key (to another key, a mouse action, a
macro, a media or keyboard function), writes and records macros, sets the
lighting down to single keys, switches the keyboard's three onboard profiles
and its report rate, and backs up and restores profile files. Everything is
written to the keyboard itself.

The command-line tool qx480ctl does the same from a terminal; qx480-sim is an
emulated keyboard for trying both without one. A udev rule lets the user at
the seat open the keyboard.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the windows' platform plugins (X11 and
# Wayland) and the face the skin's texts are drawn in; the face of the Chinese texts, and the
# desktop's opener of the help page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, xdg-utils")

# Maintainer scripts: the udev rule takes effect at install and removal (postinst, postrm).
set(_qx_debian ${CMAKE_BINARY_DIR}/packaging/debian)
file(READ ${CMAKE_SOURCE_DIR}/packaging/debian/reload_udev.sh QX_RELOAD_UDEV)
foreach(_script postinst postrm)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/${_script}.in ${_qx_debian}/${_script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_qx_debian}/postinst ${_qx_debian}/postrm)
# Files in /etc are the administrator's to change: dpkg keeps the changes (conffiles).
if(QX_INSTALL_AUTOSTART_DIR MATCHES "^/etc/")
  file(WRITE ${_qx_debian}/conffiles "${QX_INSTALL_AUTOSTART_DIR}/${QX_DESKTOP_ID}.desktop\n")
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${_qx_debian}/conffiles)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The copyright file states the licence of LICENSE; keep the two from drifting apart.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE _qx_license_head LIMIT_COUNT 2)
if(NOT _qx_license_head MATCHES "GNU GENERAL PUBLIC LICENSE;.*Version 2, June 1991")
  message(FATAL_ERROR "LICENSE is no longer the GNU GPL version 2: update "
                      "packaging/debian/copyright.in and the metadata's project_license")
endif()

include(CPack)
