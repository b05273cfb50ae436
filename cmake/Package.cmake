# `make package`: two Debian packages from the one build, one per install
# component, their library dependencies worked out by dpkg-shlibdeps:
#   sketchpost-render  the renderer and its manual page, without Qt, for a
#                      server with no desktop;
#   sketchpost         the desktop program and all else, on top of the first.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sketchpost)
set(CPACK_PACKAGE_VENDOR "The Sketchpost developers")
set(CPACK_PACKAGE_CONTACT "${SKETCHPOST_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://sketchpost.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL render desktop)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The long descriptions as apt shows them: lines of less than 80 characters.
set(CPACK_DEBIAN_RENDER_PACKAGE_NAME sketchpost-render)
set(CPACK_COMPONENT_RENDER_DISPLAY_NAME "renderer")
string(CONCAT CPACK_COMPONENT_RENDER_DESCRIPTION
       "draw the sketches of newsgroup postings as pictures\n"
       "Sketchpost puts small sketches into newsgroup postings as plain text:\n"
       "each element of a sketch is one short line of the posting.\n"
       "\n"
       "sketchpost-render draws a posting's sketch as a PNG or SVG picture\n"
       "without windows, one posting or a batch of them; it needs no desktop\n"
       "and no Qt, so it serves on a machine without a screen.")
# Beside the libraries: the fonts the sketches' legends are drawn with.
set(CPACK_DEBIAN_RENDER_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME sketchpost)
set(CPACK_COMPONENT_DESKTOP_DISPLAY_NAME "desktop program")
string(CONCAT CPACK_COMPONENT_DESKTOP_DESCRIPTION
       "draw small sketches into the plain text of newsgroup postings\n"
       "Sketchpost puts small sketches into newsgroup postings as plain text:\n"
       "each element of a sketch is one short line of the posting. A reader sees\n"
       "the sketch of a pasted posting as a picture; an author draws with the\n"
       "mouse, and each shape appends its line to the text.\n"
       "\n"
       "The renderer, which draws a posting's sketch as a PNG or SVG picture\n"
       "without windows, comes with the package sketchpost-render.")
# The renderer is its own package, of the same version; beside the
# libraries, the fonts the
# windows ask for, and Qt's platform plugins, which the Qt libraries only
# recommend.
set(CPACK_COMPONENT_DESKTOP_DEPENDS render)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation, qt6-qpa-plugins")

include(CPack)
