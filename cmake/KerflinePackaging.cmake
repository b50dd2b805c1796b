# `cpack -G DEB` in the build folder: a Debian package of everything `cmake --install` puts in
# place, below /usr. Its library dependencies are computed from the programs (dpkg-shlibdeps).

set(KERFLINE_PACKAGE_MAINTAINER "The Kerfline developers <kerfline@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian package: name <address>")

set(CPACK_PACKAGE_NAME "kerfline")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Kerfline developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "text in TrueType and OpenType fonts to straight-line outlines (DXF)")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# Installed programs carry no debugging information (a RelWithDebInfo build has plenty).
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME "kerfline")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KERFLINE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(KERFLINE_GUI)
  # Qt finds its platform plugin at run time, so the library scan cannot see that the window
  # needs one; the Liberation faces stand in for the classic Windows faces documents ask for.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
# CPack puts the summary above this and indents it as Debian's control format wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Kerfline turns text set in TrueType and OpenType fonts into straight-line
outlines and writes them as DXF drawings for machines that cut along them:
CNC routers, engravers, laser and plasma cutters.

Every character keeps its own face, size and style, and RTF files from word
processors load with their formatting. The window (kerfline) shows each glyph
in a preview with its height, width and number of strokes; the converter
(kerfline-convert) runs the same conversion from scripts.")

include(CPack)
