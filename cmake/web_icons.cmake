# The browser build's app icons, made from the drawing by this native build's mediagen (the
# browser build cannot run it): web-icons/ beside media/, which ./web.sh takes from there.
set(TAVI_WEB_ICON_FILES ${CMAKE_BINARY_DIR}/web-icons/icon-192.png ${CMAKE_BINARY_DIR}/web-icons/icon-512.png
    ${CMAKE_BINARY_DIR}/web-icons/icon-maskable-512.png)
add_custom_command(
  OUTPUT ${TAVI_WEB_ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web-icons
  COMMAND mediagen --art ${PROJECT_SOURCE_DIR}/art --icon 192 ${CMAKE_BINARY_DIR}/web-icons/icon-192.png
  COMMAND mediagen --art ${PROJECT_SOURCE_DIR}/art --icon 512 ${CMAKE_BINARY_DIR}/web-icons/icon-512.png
  COMMAND mediagen --art ${PROJECT_SOURCE_DIR}/art --maskable-icon 512
    ${CMAKE_BINARY_DIR}/web-icons/icon-maskable-512.png
  DEPENDS mediagen ${PROJECT_SOURCE_DIR}/art/pictures/icon.svg
  COMMENT "Making the page's app icons"
  VERBATIM)
add_custom_target(web_icons ALL DEPENDS ${TAVI_WEB_ICON_FILES})
