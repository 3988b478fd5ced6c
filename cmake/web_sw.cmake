# Writes sw.js with a cache name made from the hashes of the files it keeps (cmake -P, after the
# link): SRC the template, DIR the build folder.
set(hashes "")
foreach(file index.html manifest.webmanifest icon-192.png icon-512.png icon-maskable-512.png
             tavi.js tavi.wasm tavi.data tavi.data.gz music.ogg music.loop)
  file(SHA256 "${DIR}/${file}" hash)
  string(APPEND hashes "${hash}")
endforeach()
string(SHA256 TAVI_WEB_HASH "${hashes}")
string(SUBSTRING "${TAVI_WEB_HASH}" 0 16 TAVI_WEB_HASH)
configure_file("${SRC}" "${DIR}/sw.js" @ONLY)
