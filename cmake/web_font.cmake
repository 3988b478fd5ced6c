# Cuts the game's font down to the letters it can be asked to draw: every catalogue's (their German
# texts and their translations) and Windows-1252's, which a name in the list may hold. The glyphs
# kept are the font's own, so the texts look as with the whole font. cmake -P with FONT (the
# system's font), PO_DIR, SUBSET (pyftsubset) and OUT.
file(GLOB catalogues "${PO_DIR}/*.po")
set(text "")
foreach(catalogue IN LISTS catalogues)
  file(READ "${catalogue}" words)
  string(APPEND text "${words}")
endforeach()
file(WRITE "${OUT}.txt" "${text}")
execute_process(
  COMMAND "${SUBSET}" "${FONT}" "--text-file=${OUT}.txt" --layout-features=*
    "--unicodes=U+0020-007E,U+00A0-00FF,U+0152-0153,U+0160-0161,U+0178,U+017D-017E,U+0192,U+02C6,U+02DC,U+2013-2014,U+2018-201A,U+201C-201E,U+2020-2022,U+2026,U+2030,U+2039-203A,U+20AC,U+2122"
    "--output-file=${OUT}"
  RESULT_VARIABLE failed ERROR_VARIABLE said)
if(failed)
  message(FATAL_ERROR "pyftsubset could not cut down ${FONT}: ${said}")
endif()
