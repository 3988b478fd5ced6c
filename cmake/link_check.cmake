# tavi_link_check(<library>): an empty program that takes every object of the library and links
# nothing but what the library itself links. A call up a layer or across to a sibling leaves a
# symbol undefined, and this program (built with the tests) fails to link. Native builds only.
function(tavi_link_check library)
  if(NOT TAVI_BUILD_TESTS OR EMSCRIPTEN)
    return()
  endif()
  set(check ${library}_link_check)
  add_executable(${check} ${PROJECT_SOURCE_DIR}/cmake/link_check_main.cpp)
  target_link_libraries(${check} PRIVATE -Wl,--whole-archive ${library} -Wl,--no-whole-archive)
  set_target_properties(${check} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/link_checks)
endfunction()
