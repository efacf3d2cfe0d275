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

softdemo-player plays the same show in a window with seek, pause, single
steps, a timeline of the parts and an editor of the sync script.

The tools demo-render (frames and soundtrack offline) and assetgen (the data
generator, which needs the DejaVu fonts) are in /usr/lib/softdemo.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A cross build packages for its target: Debian's name of the target's architecture, and
# dpkg-shlibdeps looks for that architecture's libraries (DEB_HOST_ARCH when cpack runs:
# scripts/package.sh and the package test set it).
if(CMAKE_CROSSCOMPILING AND CMAKE_LIBRARY_ARCHITECTURE)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE SOFTDEMO_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
else()
  execute_process(COMMAND dpkg --print-architecture
                  OUTPUT_VARIABLE SOFTDEMO_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${SOFTDEMO_DEB_ARCH})
set(SOFTDEMO_DEB_ARCH ${SOFTDEMO_DEB_ARCH} CACHE INTERNAL "Debian architecture of the package")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/GamesLayout.cmake)
include(CPack)
