# The Debian package, built from the install rules: `cpack -G DEB` in the build folder.
#
# It installs under /usr (the autostart entry under /etc/xdg, see data/CMakeLists.txt),
# strips the programs, takes its library dependencies from dpkg-shlibdeps, and reloads the
# udev rules after install and removal where udev runs (data/debian/postinst, postrm).

set(CPACK_PACKAGE_NAME vantor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Vantor developers")
set(CPACK_PACKAGE_CONTACT "Vantor developers <vantor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of a USB RGB gaming keyboard")
# The long description: lines of at most 80 characters, as dpkg shows them.
set(CPACK_PACKAGE_DESCRIPTION
    "Vantor remaps the keys of each of the keyboard's three on-board profiles,
records and edits macros, chooses lighting effects and per-key colours, and
switches, resets, exports and imports profiles. It lives in the tray and opens
its window when the keyboard is plugged in. The package also holds vantorctl,
the same on the command line, and vantor-sim, an emulated keyboard for trying
both without one. A udev rule gives the person at the seat access to the
keyboard.")
set(CPACK_STRIP_FILES ON)
# Every file goes under the staging root, the /etc one included.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Wayland sessions run it natively with Qt's Wayland platform; without it Qt uses XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# The on-screen keyboard that the key assignment dialog opens.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS onboard)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/data/debian/postinst
    ${PROJECT_SOURCE_DIR}/data/debian/postrm
    ${PROJECT_SOURCE_DIR}/data/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
