# The Debian package, built from an install of this build tree (scripts/package uses the
# release build). dpkg-shlibdeps finds the libraries; the rest are what the program loads
# without linking it: Qt's translations and the fonts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane - Tecnologia e Educação")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "animated lessons and quizzes for the first five school years")
set(CPACK_PACKAGE_DESCRIPTION
    "A child picks a school year on an animated menu, then a subject, then an activity from a\n"
    "searchable list of lessons and quizzes, which plays in a maximised window. Demo content is\n"
    "included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane <suporte@quorvane.com.br>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-dejavu-core, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
include(CPack)
