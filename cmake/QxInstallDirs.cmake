# Where an installed program lives, and the names the desktop knows it by. Read before the
# folders, which install their own pieces of the run-time folder; the rest of the layout is
# cmake/QxInstall.cmake.
include(GNUInstallDirs)

# The run-time folder: <prefix>/lib/qx480, not the multiarch library folder, because it holds
# the programs and their data next to the library and the programs find it from their own path.
set(QX_INSTALL_RUNTIME_DIR lib/qx480)
# The programs a user starts, as links in <prefix>/bin.
set(QX_LAUNCHED_PROGRAMS qx480-driver qx480ctl qx480-sim)
# The desktop entry's name (also the icon's and the autostart entry's) and the AppStream id.
set(QX_DESKTOP_ID qx480-driver)
set(QX_APPSTREAM_ID com.quilvane_ostrand.qx480_driver)
# The desktop's autostart folder. The package always puts the entry into the system's; an
# install for one user may point it at ~/.config/autostart.
set(QX_INSTALL_AUTOSTART_DIR /etc/xdg/autostart CACHE PATH
    "Folder of the autostart entry that starts the driver at login")
