# The browser build, configured by ./web.sh with emcmake: the program (tavi_app with
# tavi_web_platform, see CMakeLists.txt) and its page, web/index.html. The media come from a
# native build's mediagen (TAVI_WEB_MEDIA), as emscripten cannot run it.
set(TAVI_WEB_MEDIA "" CACHE PATH "The media folder made by a native build")
if(NOT EXISTS "${TAVI_WEB_MEDIA}/.stamp")
  message(FATAL_ERROR "TAVI_WEB_MEDIA must name a native build's media folder")
endif()
# The app icons the same native build made beside its media.
get_filename_component(TAVI_WEB_ICONS "${TAVI_WEB_MEDIA}/../web-icons" ABSOLUTE)
set(TAVI_WEB_ICON_NAMES icon-192.png icon-512.png icon-maskable-512.png)
foreach(icon IN LISTS TAVI_WEB_ICON_NAMES)
  if(NOT EXISTS "${TAVI_WEB_ICONS}/${icon}")
    message(FATAL_ERROR "${TAVI_WEB_ICONS}/${icon} is missing: build the native build's web_icons target")
  endif()
endforeach()

# The game's font, cut down to the letters it draws (47 KB instead of 760 KB).
find_program(TAVI_PYFTSUBSET pyftsubset REQUIRED)
file(GLOB TAVI_CATALOGUE_SOURCES ${PROJECT_SOURCE_DIR}/po/*.po)
set(TAVI_WEB_FONT ${CMAKE_BINARY_DIR}/fonts/DejaVuSans.ttf)
add_custom_command(
  OUTPUT ${TAVI_WEB_FONT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -DFONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -DPO_DIR=${PROJECT_SOURCE_DIR}/po
    -DSUBSET=${TAVI_PYFTSUBSET} -DOUT=${TAVI_WEB_FONT} -P ${PROJECT_SOURCE_DIR}/cmake/web_font.cmake
  DEPENDS ${TAVI_CATALOGUE_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/web_font.cmake
  COMMENT "Cutting the font down to the letters the game draws"
  VERBATIM)
add_custom_target(web_font DEPENDS ${TAVI_WEB_FONT})
add_dependencies(tavi web_font)
set_property(TARGET tavi APPEND PROPERTY LINK_DEPENDS ${TAVI_WEB_FONT})
set_target_properties(tavi PROPERTIES SUFFIX ".js")
# The media as they are (tavi.data); the page fetches them packed with gzip (tavi.data.gz, below)
# and has the browser unpack them, which is quicker than the game unpacking them as it reads.
target_link_options(tavi PRIVATE
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=0 -sINVOKE_RUN=0 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['FS','callMain','UTF8ToString','ccall']"
  "--preload-file=${TAVI_WEB_MEDIA}@/media" "--exclude-file=*.stamp"
  "--preload-file=${CMAKE_BINARY_DIR}/locale@/locale"
  "--preload-file=${TAVI_WEB_FONT}@/fonts/DejaVuSans.ttf")
# The page offers the languages of the catalogues built.
list(JOIN TAVI_LANGUAGES "', '" TAVI_WEB_LANGUAGES)
set(TAVI_WEB_LANGUAGES "['${TAVI_WEB_LANGUAGES}']")
# The canvas has the frame's size from the start, so that the browser makes it while the page loads.
file(READ ${PROJECT_SOURCE_DIR}/src/base/frame_size.h TAVI_FRAME_SIZE)
string(REGEX MATCH "FrameWidth = ([0-9]+)" TAVI_FRAME_WIDTH "${TAVI_FRAME_SIZE}")
set(TAVI_FRAME_WIDTH ${CMAKE_MATCH_1})
string(REGEX MATCH "FrameHeight = ([0-9]+)" TAVI_FRAME_HEIGHT "${TAVI_FRAME_SIZE}")
set(TAVI_FRAME_HEIGHT ${CMAKE_MATCH_1})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/base/frame_size.h)
# The page opens the stored list's database before the module has come, as emscripten's IDBFS will
# want it (its version and store, read from the emscripten that builds the page), so that the
# browser's slow first making of it is over when the game reads the list.
set(TAVI_IDBFS_SOURCE ${EMSCRIPTEN_ROOT_PATH}/src/library_idbfs.js)
file(READ ${TAVI_IDBFS_SOURCE} TAVI_IDBFS)
string(REGEX MATCH "DB_VERSION: ([0-9]+)" TAVI_IDBFS_VERSION "${TAVI_IDBFS}")
set(TAVI_IDBFS_VERSION ${CMAKE_MATCH_1})
string(REGEX MATCH "DB_STORE_NAME: '([A-Z_]+)'" TAVI_IDBFS_STORE "${TAVI_IDBFS}")
set(TAVI_IDBFS_STORE ${CMAKE_MATCH_1})
if(NOT TAVI_IDBFS_VERSION OR NOT TAVI_IDBFS_STORE OR NOT TAVI_IDBFS MATCHES "createIndex\\('timestamp'")
  message(FATAL_ERROR "${TAVI_IDBFS_SOURCE}: IDBFS's database is not made as the page expects")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TAVI_IDBFS_SOURCE})
configure_file(${PROJECT_SOURCE_DIR}/web/index.html ${CMAKE_BINARY_DIR}/page/index.html @ONLY)
# The page with its panel and touch controls written into it, its manifest and icons and the service
# worker, whose cache name is made from every file it keeps: remade whenever one of them or the
# program changes.
set(TAVI_WEB_PAGE_FILES texts.js panel.js panel.css touch.js touch.css trace.js)
set(TAVI_WEB_COPIES COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/manifest.webmanifest
                            ${CMAKE_BINARY_DIR}/manifest.webmanifest)
foreach(icon IN LISTS TAVI_WEB_ICON_NAMES)
  list(APPEND TAVI_WEB_COPIES COMMAND ${CMAKE_COMMAND} -E copy ${TAVI_WEB_ICONS}/${icon} ${CMAKE_BINARY_DIR}/${icon})
endforeach()
list(TRANSFORM TAVI_WEB_PAGE_FILES PREPEND ${PROJECT_SOURCE_DIR}/web/ OUTPUT_VARIABLE TAVI_WEB_PAGE_SOURCES)
list(APPEND TAVI_WEB_PAGE_SOURCES ${PROJECT_SOURCE_DIR}/web/manifest.webmanifest)
list(TRANSFORM TAVI_WEB_ICON_NAMES PREPEND ${TAVI_WEB_ICONS}/ OUTPUT_VARIABLE TAVI_WEB_ICON_SOURCES)
# The page's texts with their translations from the catalogues built.
if(NOT XGETTEXT)
  message(FATAL_ERROR "xgettext (gettext) is needed to find the page's texts")
endif()
set(TAVI_PAGE_CATALOGUES)
set(TAVI_PAGE_CATALOGUE_FILES)
foreach(language IN LISTS TAVI_LANGUAGES)
  set(mo ${CMAKE_BINARY_DIR}/locale/${language}/LC_MESSAGES/tavi.mo)
  list(APPEND TAVI_PAGE_CATALOGUES ${language}=${mo})
  list(APPEND TAVI_PAGE_CATALOGUE_FILES ${mo})
endforeach()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/page/texts.js
  COMMAND python3 ${PROJECT_SOURCE_DIR}/web/page_catalogues.py ${PROJECT_SOURCE_DIR}/web/texts.js
    ${CMAKE_BINARY_DIR}/page/texts.js ${TAVI_PAGE_CATALOGUES} -- ${XGETTEXT} ${TAVI_PAGE_TEXT_OPTIONS}
  DEPENDS ${PROJECT_SOURCE_DIR}/web/texts.js ${PROJECT_SOURCE_DIR}/web/page_catalogues.py catalogues
    ${TAVI_PAGE_CATALOGUE_FILES}
  COMMENT "Translating the page's texts"
  VERBATIM)

# The media packed with gzip: on a real line their download is most of the time to the first frame
# (4 MB of pictures and waves in 0.75 MB). -n: the same bytes from the same media.
find_program(TAVI_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/index.html ${CMAKE_BINARY_DIR}/sw.js ${CMAKE_BINARY_DIR}/tavi.data.gz
  COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_BINARY_DIR}/page/index.html -DOUT=${CMAKE_BINARY_DIR}/index.html
    -DDIR=${PROJECT_SOURCE_DIR}/web -DMADE=${CMAKE_BINARY_DIR}/page -P ${PROJECT_SOURCE_DIR}/cmake/web_inline.cmake
  ${TAVI_WEB_COPIES}
  COMMAND ${TAVI_GZIP} -9 -n -k -f ${CMAKE_BINARY_DIR}/tavi.data
  COMMAND ${CMAKE_COMMAND} -DSRC=${PROJECT_SOURCE_DIR}/web/sw.js.in -DDIR=${CMAKE_BINARY_DIR}
    -P ${PROJECT_SOURCE_DIR}/cmake/web_sw.cmake
  DEPENDS ${CMAKE_BINARY_DIR}/page/index.html ${CMAKE_BINARY_DIR}/page/texts.js ${PROJECT_SOURCE_DIR}/web/sw.js.in
    ${TAVI_WEB_PAGE_SOURCES}
    ${TAVI_WEB_ICON_SOURCES}
    ${PROJECT_SOURCE_DIR}/cmake/web_sw.cmake ${PROJECT_SOURCE_DIR}/cmake/web_inline.cmake tavi
    ${CMAKE_BINARY_DIR}/music.ogg ${CMAKE_BINARY_DIR}/music.loop
  VERBATIM)
add_custom_target(web_page ALL DEPENDS ${CMAKE_BINARY_DIR}/index.html ${CMAKE_BINARY_DIR}/sw.js)

# The music: the song rendered twice in a row with the desktop's soundfont and gain, so that the
# page can loop over the second time, which carries the first's echo; and the song's length.
set(TAVI_WEB_SOUNDFONT /usr/share/sounds/sf2/TimGM6mb.sf2)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/music.ogg ${CMAKE_BINARY_DIR}/music.loop
  COMMAND fluidsynth -ni -q -g 1.2 -r 44100 -o player.reset-synth=0 -F ${CMAKE_BINARY_DIR}/music.wav
    ${TAVI_WEB_SOUNDFONT} ${TAVI_WEB_MEDIA}/background.mid ${TAVI_WEB_MEDIA}/background.mid
  COMMAND oggenc -Q -q 3 -o ${CMAKE_BINARY_DIR}/music.ogg ${CMAKE_BINARY_DIR}/music.wav
  COMMAND ${CMAKE_COMMAND} -E remove ${CMAKE_BINARY_DIR}/music.wav
  COMMAND python3 ${PROJECT_SOURCE_DIR}/web/midi_length.py ${TAVI_WEB_MEDIA}/background.mid
    ${CMAKE_BINARY_DIR}/music.loop
  DEPENDS ${TAVI_WEB_MEDIA}/background.mid ${PROJECT_SOURCE_DIR}/web/midi_length.py
  COMMENT "Rendering the music for the page"
  VERBATIM)
add_custom_target(web_music ALL DEPENDS ${CMAKE_BINARY_DIR}/music.ogg ${CMAKE_BINARY_DIR}/music.loop)
add_dependencies(tavi web_music)
