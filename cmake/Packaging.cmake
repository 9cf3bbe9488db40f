# The Debian package: `cpack -G DEB` in a Release build configured with
# -DCMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does both). The program,
# data/ and the files below make its contents; its dependencies on shared
# libraries come from dpkg-shlibdeps.
include(GNUInstallDirs)

set(ALEARO_MAINTAINER "The Alearo developers <support@alearo.example.org>")
set(ALEARO_HOMEPAGE "https://alearo.example.org/")
set(deb_sources ${CMAKE_CURRENT_LIST_DIR}/deb)
set(deb_build ${PROJECT_BINARY_DIR}/deb)
set(deb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/alearo)

# The copyright file in Debian's machine-readable format, its notice and
# licence text taken from LICENSE so the two cannot drift apart.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)")
  message(FATAL_ERROR "LICENSE has no \"Copyright (c)\" line")
endif()
set(ALEARO_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${license}" "Permission is hereby granted" permission_at)
string(SUBSTRING "${license}" ${permission_at} -1 license)
string(STRIP "${license}" license)
# A licence paragraph is indented by one space, and its blank lines are " .".
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " ALEARO_LICENSE_PARAGRAPH " ${license}")
configure_file(${deb_sources}/copyright.in ${deb_build}/copyright @ONLY)

# A package whose version has no Debian revision is native, and a native
# package keeps its one changelog as changelog.gz.
file(STRINGS ${deb_sources}/changelog changelog_top LIMIT_COUNT 1)
string(FIND "${changelog_top}" "alearo (${PROJECT_VERSION})" entry_at)
if(NOT entry_at EQUAL 0)
  message(FATAL_ERROR "cmake/deb/changelog must start with an entry for ${PROJECT_VERSION}")
endif()
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${deb_build}/changelog.gz
  COMMAND ${GZIP} -9n -c ${deb_sources}/changelog > ${deb_build}/changelog.gz
  DEPENDS ${deb_sources}/changelog
  VERBATIM)
add_custom_target(alearo_changelog ALL DEPENDS ${deb_build}/changelog.gz)

install(FILES ${deb_build}/copyright ${deb_build}/changelog.gz DESTINATION ${deb_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME alearo)
set(CPACK_PACKAGE_VENDOR "The Alearo developers")
set(CPACK_PACKAGE_CONTACT "${ALEARO_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ALEARO_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dice roller for tabletop games")
set(CPACK_PACKAGE_DESCRIPTION
    "Alearo rolls dice for board games and role-playing games in one window.
Set the number of rolls and of dice per roll (1 to 100 each), the die (d4,
d6, d8, d10, d12, d20 or d100) and modifiers for every die and every total,
then roll and read one numbered line per roll.

A roll checker counts the totals at, above or below a target. Options throw
out the lowest die of each roll and count no die below 1. The results can be
saved to a text file or printed.

A statistics window shows the exact chance of every total beside the shares
the last rolls had, with a chart and a test of fairness, and compares them
with any dice expression such as 2d20kh1+5, 8d6! or 10d10>=8. The dice tray
rolls such expressions as players type them, with the chance of each total,
saved rolls to roll again, their import and export as JSON, and a history
kept between sessions. The terminal program alearo-dice rolls such
expressions and lists their exact chances.")

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the install creates get these modes whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ALEARO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt only recommends its platform plugins, but without the X11 one the
# window cannot open; the dice tray keeps its rolls through Qt SQL's SQLite
# driver, a plugin that dpkg-shlibdeps cannot see either.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
# Printing through a text file hands it to lp.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
