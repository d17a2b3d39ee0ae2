# `make package`: a Debian package of everything the project installs, laid out under /usr as
# `cmake --install` lays it. The package takes the default install, not a list of components, so a
# tool that adds its own install() rule is packaged without an edit here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
# Version from project(); architecture from `dpkg --print-architecture`; the file is
# quillon_VERSION_ARCH.deb in the build folder.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Debian wants a maintainer with an address; this one names no real mailbox, so that whoever
# ships the package puts their own with -DQUILLON_PACKAGE_MAINTAINER=... instead of inheriting
# one. No homepage field: the project has none to give.
set(QUILLON_PACKAGE_MAINTAINER "Quillon developers <quillon@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_PACKAGE_MAINTAINER}")

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "candlestick chart with price waves of MetaTrader 4 bars")
# One control-file line for each line here; apt joins them into paragraphs when it shows them.
set(CPACK_PACKAGE_DESCRIPTION "\
Quillon reads the price-bar file that a MetaTrader 4 indicator keeps
rewriting, works out four waves of the newest bars (two smoothed waves of
the closing prices and two oscillating waves of the opening prices) and
draws the bars as candlesticks with the waves over them, marking the bars
where both smoothed waves rise together or fall together.

It shows the indicator's text to paste into MetaEditor and comes with a
sample EURUSD hourly file to try it at once. Command-line tools give the
same bars and waves to scripts: quillon-waves writes them as CSV,
quillon-chart draws the window's chart of them into a PNG or SVG picture
without a display, quillon-scan sums up a whole folder of bar files in one
row each (the newest bar, its marks and how long they have held), and
quillon-make-bars makes up bar files to try them on.")

# Debian has no section for trading programs, and Quillon is neither about the X Window System
# (x11) nor a system utility (utils): the catch-all section.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)

# The Qt libraries come from what the programs link (dpkg-shlibdeps). libqt6gui6 carries the xcb
# and offscreen platforms; qt6-qpa-plugins holds Qt's other platform plugins and is only
# recommended by libqt6gui6, so it is named here to give the same set of platforms whether or not
# apt installs recommended packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
