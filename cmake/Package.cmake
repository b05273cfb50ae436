# `make package`: a Debian package of everything `cmake --install` puts in
# place, its library dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sketchpost)
set(CPACK_PACKAGE_VENDOR "The Sketchpost developers")
set(CPACK_PACKAGE_CONTACT "${SKETCHPOST_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://sketchpost.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "draw small sketches into the plain text of newsgroup postings")
# The long description as apt shows it: lines of less than 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Sketchpost puts small sketches into newsgroup postings as plain text:\n"
       "each element of a sketch is one short line of the posting. A reader sees\n"
       "the sketch of a pasted posting as a picture; an author draws with the\n"
       "mouse, and each shape appends its line to the text.\n"
       "\n"
       "sketchpost-render draws a posting's sketch as a PNG or SVG picture\n"
       "without windows.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries: the fonts the sketches' legends and the windows ask
# for, and Qt's platform plugins, which the Qt libraries only recommend.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation, qt6-qpa-plugins")

include(CPack)
