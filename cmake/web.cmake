# The browser build, configured by ./web.sh with emcmake. The media come from a native build's
# mediagen (TAVI_WEB_MEDIA), as emscripten cannot run it; the page is web/index.html.
set(TAVI_WEB_MEDIA "" CACHE PATH "The media folder made by a native build")
if(NOT EXISTS "${TAVI_WEB_MEDIA}/.stamp")
  message(FATAL_ERROR "TAVI_WEB_MEDIA must name a native build's media folder")
endif()

add_library(tavi_web_platform STATIC
  src/platform/bmp_header.cpp
  src/platform/console_message.cpp
  src/platform/typed_keys.cpp
  src/platform/wave_check.cpp
  src/platform/web_audio.cpp
  src/platform/web_bmp_loader.cpp
  src/platform/web_keys.cpp
  src/platform/web_media_path.cpp
  src/platform/web_platform.cpp
  src/platform/web_present.cpp)
target_compile_options(tavi_web_platform PRIVATE ${TAVI_WARNINGS})
target_link_libraries(tavi_web_platform PUBLIC tavi_base)

add_executable(tavi src/app/web_main.cpp)
target_link_libraries(tavi PRIVATE tavi_core tavi_web_platform)
target_compile_options(tavi PRIVATE ${TAVI_WARNINGS})
set_target_properties(tavi PROPERTIES SUFFIX ".js")
# The media are packed with LZ4 (3.9 MB of pictures and waves in 1.1 MB), unpacked as the game reads them:
# on a real line the download is most of the time to the first frame.
target_link_options(tavi PRIVATE
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=0 -sINVOKE_RUN=0 -sLZ4=1 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['FS','callMain','UTF8ToString']"
  "--preload-file=${TAVI_WEB_MEDIA}@/media" "--exclude-file=*.stamp"
  "--preload-file=${CMAKE_BINARY_DIR}/locale@/locale")
add_subdirectory(${PROJECT_SOURCE_DIR}/po ${CMAKE_BINARY_DIR}/po)  # the catalogues, before the link
# The page offers the languages of the catalogues built.
list(JOIN TAVI_LANGUAGES "', '" TAVI_WEB_LANGUAGES)
set(TAVI_WEB_LANGUAGES "['${TAVI_WEB_LANGUAGES}']")
configure_file(${PROJECT_SOURCE_DIR}/web/index.html ${CMAKE_BINARY_DIR}/page/index.html @ONLY)
# The page, its font and the service worker, whose cache name is made from every file it keeps:
# remade whenever the page, the worker or the program changes.
set(TAVI_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/index.html ${CMAKE_BINARY_DIR}/DejaVuSans.ttf ${CMAKE_BINARY_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/page/index.html ${CMAKE_BINARY_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${TAVI_WEB_FONT} ${CMAKE_BINARY_DIR}/DejaVuSans.ttf
  COMMAND ${CMAKE_COMMAND} -DSRC=${PROJECT_SOURCE_DIR}/web/sw.js.in -DDIR=${CMAKE_BINARY_DIR}
    -P ${PROJECT_SOURCE_DIR}/cmake/web_sw.cmake
  DEPENDS ${CMAKE_BINARY_DIR}/page/index.html ${PROJECT_SOURCE_DIR}/web/sw.js.in
    ${PROJECT_SOURCE_DIR}/cmake/web_sw.cmake ${TAVI_WEB_FONT} tavi
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
