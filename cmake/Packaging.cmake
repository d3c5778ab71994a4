# A Debian package of the installed tree: `cpack` in a release build writes
# rpn_<version>_<arch>.deb. The library dependencies come from dpkg-shlibdeps,
# so they follow whatever Qt the build linked against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rpn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scientific calculator in Reverse Polish Notation")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as dh_strip would, .comment and .note included, which a plain
# strip keeps.
set(CPACK_STRIP_FILES OFF)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StripPackage.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "RPN maintainers <maintainers@rpn-calculator.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The main display line is drawn in DejaVu Sans Condensed (fonts-dejavu-extra)
# and the rest in DejaVu Sans; no library pulls either in. The event-sound
# library is loaded at the first click, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, libcanberra0")
# Without the Wayland platform plugin a Wayland session runs the window
# through XWayland, blurred at fractional scales. Without the event-sound
# library's PulseAudio backend the click goes through ALSA as a new stream
# for every tap, instead of from the sound server's sample cache.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libcanberra-pulse")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/rpn-calculator/rpn")
# CPack puts the summary first and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A desktop calculator with a four-level stack (X, Y, Z, T), LAST X and ten
storage registers, FIX, SCI and ENG display, trigonometry in degrees, radians
and grads, hyperbolic functions, polar and rectangular conversions and
factorial. The whole state survives every restart and can be kept in state
files. rpn-cli drives the same calculator from scripts.")

include(CPack)
