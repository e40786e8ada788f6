# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of the installed tree: `cpack -G DEB` in a build folder writes
# vq-dbd_<version>_<arch>.deb. Its library dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vq-dbd)
set(CPACK_PACKAGE_VENDOR VELA-QUILL)
set(CPACK_PACKAGE_CONTACT "VELA-QUILL <vq-dbd@vela-quill.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "digital clock with ten daily alarms")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The package's long description, as lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
VQ-DRUM-BEAT-DIAL shows the local time in large digits in a small tool window
that stays above the other windows (through XWayland in a Wayland session).

Each of ten alarm slots fires at its time of day: it runs a command line, opens
a flashing notification window that can count down and close itself, or both.
Every position, colour, switch and alarm is kept in a per-user settings file
and restored at the next start.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# setcap, for the postinst that lets alarms wake the computer from sleep (cap_wake_alarm); CPack adds
# the libraries dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libcap2-bin)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/dist/debian/postinst)
# The windows are laid out in a font of Arial's metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
