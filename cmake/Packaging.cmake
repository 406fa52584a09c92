# `make package`: one Debian package, orvex_<version>_<arch>.deb, holding
# everything `cmake --install` installs.
set(ORVEX_MAINTAINER "Orvex developers <orvex-dev@example.org>" CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "Orvex developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "title editor and loader for the 8-channel Orvex title generator")
# Lines of at most 80 characters, as Debian's tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Type a line of text in any desktop font, turn it into a channel's custom"
    "characters, lay them out on the channel's screen pages, edit single"
    "characters dot by dot, save the title to a .zvx data file and send it to the"
    "title generator over a serial line."
    ""
    "The package holds the editor window (orvex-editor), a command-line tool for"
    "scripts (orvex) and a simulator of the device on a pseudo-terminal"
    "(orvex-sim).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries themselves; what they load by name
# does not: the free stand-in for the titles' font, and Qt's own Japanese
# dialog texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
