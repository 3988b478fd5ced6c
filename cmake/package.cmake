# Debian package with CPack: `cpack -G DEB` in a build configured for /usr with the game in
# /usr/games (scripts/package.sh does both).

set(TAVI_PACKAGE_MAINTAINER "The tavi developers <tavi@users.noreply.github.com>" CACHE STRING
  "Maintainer of the Debian package, \"Name <address>\"")

set(CPACK_PACKAGE_NAME tavi)
set(CPACK_PACKAGE_VENDOR "The tavi developers")
set(CPACK_PACKAGE_CONTACT "${TAVI_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catch rainbow fish in a polluted lake, dodge barrels and sharks")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TAVI_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build.*/")

# The revision must match the newest entry of dist/changelog.Debian.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
file(STRINGS dist/changelog.Debian TAVI_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT TAVI_CHANGELOG_HEAD MATCHES "^tavi \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "dist/changelog.Debian starts with \"${TAVI_CHANGELOG_HEAD}\", "
    "not version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; the font and the soundfont are opened by path at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, timgm6mb-soundfont")
# CPack puts the summary above this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tavi the diver catches endangered rainbow fish with a net in a polluted lake
and dodges poison barrels, sinking barrels, stones and sharks. Each fish in the
net is a point; barrels and stones cost one of three lives, and a shark that
reaches Tavi eats him. The ten best results are kept in a highscore list.
.
The game speaks German or English and is played with the arrow keys and the
space bar, in full screen or in a window.")

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR NOT CMAKE_INSTALL_BINDIR STREQUAL "games")
  message(STATUS "Debian package: configure with -DCMAKE_INSTALL_PREFIX=/usr "
    "-DCMAKE_INSTALL_BINDIR=games for a package that follows Debian policy (scripts/package.sh)")
endif()

include(CPack)
