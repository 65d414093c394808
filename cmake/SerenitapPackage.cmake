# The Debian package (make package, or cpack -G DEB in a build folder).
# Its contents are exactly the install rules of SerenitapInstall.cmake.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME serenitap)
set(CPACK_PACKAGE_VENDOR "Quorvex Software")
set(CPACK_PACKAGE_CONTACT "Quorvex Software <support@quorvex.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.serenitap.com")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guide through a self-administered EFT tapping session")
set(CPACK_PACKAGE_DESCRIPTION
    "Serenitap guides you through a self-administered EFT (Emotional Freedom\n"
    "Techniques) tapping session: pick an emotional issue, rate its intensity\n"
    "on the SUD scale (0 to 10), and follow the steps - an introduction, the\n"
    "thymus, an affirmation while tapping the karate-chop point, then timed\n"
    "rounds over sixteen tapping points with the statements to repeat, a\n"
    "relaxation step and a new rating.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # serenitap_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links come from dpkg-shlibdeps (packages dpkg-dev
# and file), not from a hand-kept list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt also loads plugins at run time, which dpkg-shlibdeps cannot see in the
# binary: the xcb and offscreen platform plugins (in libqt6gui6) and the SVG
# icon engine and image format plugins that draw the window icon (in
# libqt6svg6). Both packages are already computed dependencies, because the
# program links libQt6Gui and libQt6Svg (its pictures are drawn with
# QSvgRenderer), so nothing is listed by hand: a second, hand-written
# "libqt6svg6" would only duplicate the computed one. .ci/checks/40-package
# fails if either package ever drops out of the computed list.
# The one exception: spoken guidance loads Qt's speech-dispatcher plugin at
# run time (the speech library itself is a computed dependency). The speech
# service is only recommended: without it the guidance is simply unavailable.
# The journal loads the SQLite library when it first opens
# (src/journal/sqlite_library.h), so no binary links it: libsqlite3-0 is listed
# by hand.
# The texts are laid out for fonts of the recommended widths; without them they
# are set in smaller type to fit.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-speech-speechd-plugin, libsqlite3-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, speech-dispatcher-espeak-ng, fonts-liberation2, fonts-crosextra-carlito")

# Before the .deb is written: the staged tree must hold every installed file,
# so there is never a package without its icon, entry or metadata.
set(CPACK_SERENITAP_INSTALLED_FILES ${SERENITAP_INSTALLED_FILES})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CheckPackageTree.cmake)

set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")
include(CPack)
