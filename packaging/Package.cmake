# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh). Runtime
# dependencies come from dpkg-shlibdeps over the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME softdemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "softdemo developers <softdemo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual demo rendered in software")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"One program plays its own synthesised music and, in step with it, shows
eleven effects drawn entirely in software: fading and sliding pictures, a
textured tunnel, a rotozoomer, blurred name plates, an end scroller and a
bump- and environment-mapped 3D object. Run softdemo; any key ends it.

The tools demo-render (frames and soundtrack offline) and assetgen (the data
generator, which needs the DejaVu fonts) are in /usr/lib/softdemo.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/GamesLayout.cmake)
include(CPack)
