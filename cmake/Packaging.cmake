# `make package` (cpack) builds a Debian package of what `cmake --install` installs. The
# libraries it needs are found by dpkg-shlibdeps; the fonts are asked for by name at run time
# ("Times New Roman", "Courier New"), which fontconfig maps to the Liberation faces.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skerry)
set(CPACK_PACKAGE_VENDOR "Skerry developers")
set(CPACK_PACKAGE_CONTACT "Skerry developers <skerry@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "prepare radial scans of an analytical ultracentrifuge for fitting")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Skerry loads one radial scan of an analytical ultracentrifuge at a time, subtracts a\n"
    "blank, shows the scan as a plot in which points are deleted or restored with the\n"
    "mouse, and saves the edited scan complete or truncated to the retained points, with x\n"
    "as the radius or as XI = R^2/2. It re-opens the data sets of a fit file with their\n"
    "edit limits and deleted points. skerry-batch does the same from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/package)
include(CPack)
