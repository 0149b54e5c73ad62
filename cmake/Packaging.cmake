# cpack -G DEB: a Debian package of the installed tree, its run-time
# dependencies found by dpkg-shlibdeps.
set(QUINTALINE_CONTACT "Quintaline developers <quintaline@quintaline.org>")

set(CPACK_PACKAGE_NAME quintaline)
set(CPACK_PACKAGE_VENDOR "Quintaline")
set(CPACK_PACKAGE_CONTACT ${QUINTALINE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data logger for a handheld digital multimeter")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quintaline.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quintaline records the readings a handheld digital multimeter sends on a
serial line, one per sampling interval, shows them on a meter panel with
relative, dB, peak-hold and min/max modes, draws trend graphs, saves and
opens runs and prints reports. quintaline-cli runs the same engine without
a window.")
include(CPack)
