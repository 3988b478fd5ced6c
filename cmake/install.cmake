# Installation: the game, its media, the desktop entry, AppStream metadata, icons, the manual page,
# the README, the changelog and the licences. The installed game finds its media through
# TAVI_DATADIR (CMAKE_INSTALL_DATADIR/tavi: Debian's package sets share/games), or in
# <exe dir>/../share/tavi when installed to another prefix. What the desktop reads goes under
# CMAKE_INSTALL_DATAROOTDIR whatever the data folder is.

# One identifier for the desktop entry, the metadata and the icons: the reverse of the home page's
# domain (tavi.github.io) and the game's name.
set(TAVI_APP_ID io.github.tavi.tavi)
# The metadata links the home page and takes its screenshots from <home page>/screenshots/, which
# must serve the PNG files of docs/screenshots/.
set(TAVI_HOMEPAGE_URL "https://tavi.github.io" CACHE STRING
  "Home page of the game (https); its /screenshots/ serves docs/screenshots/")
if(NOT TAVI_HOMEPAGE_URL MATCHES "^https://")
  message(FATAL_ERROR "TAVI_HOMEPAGE_URL must be an https address, not ${TAVI_HOMEPAGE_URL}")
endif()
string(REGEX REPLACE "/+$" "" TAVI_HOMEPAGE_URL "${TAVI_HOMEPAGE_URL}")
# Where players report bugs, named in the metadata.
set(TAVI_BUGTRACKER_URL "https://github.com/tavi/tavi/issues" CACHE STRING
  "Where players report bugs (https), named in the metadata")
if(NOT TAVI_BUGTRACKER_URL MATCHES "^https://")
  message(FATAL_ERROR "TAVI_BUGTRACKER_URL must be an https address, not ${TAVI_BUGTRACKER_URL}")
endif()

# The menu entry starts the game by its full path: Debian keeps games in /usr/games, which is not
# on every PATH.
set(TAVI_DESKTOP_EXEC ${CMAKE_INSTALL_FULL_BINDIR}/tavi)
set(TAVI_MEDIA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/tavi/media)
set(TAVI_LOCALE_DIR ${CMAKE_INSTALL_FULL_LOCALEDIR})
set(dist ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/${TAVI_APP_ID}.desktop.in ${dist}/${TAVI_APP_ID}.desktop @ONLY)
configure_file(dist/${TAVI_APP_ID}.metainfo.xml.in ${dist}/${TAVI_APP_ID}.metainfo.xml @ONLY)
configure_file(dist/tavi.6.in ${dist}/tavi.6 @ONLY)

# The manual page goes in compressed, without a time stamp, as Debian wants it.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
add_custom_command(OUTPUT ${dist}/tavi.6.gz
  COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${dist}/tavi.6 > ${dist}/tavi.6.gz
  DEPENDS ${dist}/tavi.6 COMMENT "Compressing the manual page")

# hicolor icons from the drawing, and the drawing itself as the scalable one.
set(TAVI_ICON_SIZES 16 24 32 48 64 128 256 512)
set(TAVI_ICON_FILES)
foreach(size IN LISTS TAVI_ICON_SIZES)
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TAVI_APP_ID}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND mediagen --art ${PROJECT_SOURCE_DIR}/art --icon ${size} ${icon}
    DEPENDS mediagen ${PROJECT_SOURCE_DIR}/art/pictures/icon.svg
    COMMENT "Making the ${size} px icon"
    VERBATIM)
  list(APPEND TAVI_ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${TAVI_ICON_FILES} ${dist}/tavi.6.gz)
install(FILES art/pictures/icon.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
  RENAME ${TAVI_APP_ID}.svg)

install(TARGETS tavi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/media/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tavi/media
  PATTERN ".stamp" EXCLUDE)
install(FILES ${dist}/${TAVI_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${dist}/${TAVI_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${dist}/tavi.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The licences of code and art in one machine-readable file, the one of the Debian package.
install(FILES README.md CHANGELOG.md debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TAVI_BUILD_TESTS)
  # The installed tree: every file in place, and the desktop entry, metadata and manual page pass
  # their validators.
  add_test(NAME install_metadata
    COMMAND ${PROJECT_SOURCE_DIR}/tests/install_test.sh ${CMAKE_BINARY_DIR} ${TAVI_APP_ID})
  set_tests_properties(install_metadata PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)

  # The installed game on a real X display (Xvfb): menu, highscore list, Alt+Enter, Esc.
  add_test(NAME desktop_install
    COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(desktop_install PROPERTIES TIMEOUT 90 SKIP_RETURN_CODE 77
    LABELS desktop)
  if(TAVI_SANITIZE)
    # On a real X display Mesa's GL driver is loaded and unloaded with the window, and what it
    # keeps then shows as leaks of an unknown module that no suppression can name. This run checks
    # memory errors and undefined behaviour; leaks of the same platform code are checked by every
    # headless run on SDL's dummy drivers.
    set_tests_properties(desktop_install PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  endif()
endif()
