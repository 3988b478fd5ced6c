#include "app/web_list_file.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "base/file_read.h"
#include "highscore/highscore_table.h"
#include "highscore/list_check.h"

namespace tavi {
namespace {
HighscoreTable* webList = nullptr;
}  // namespace

void AttachWebList(HighscoreTable& list) { webList = &list; }

}  // namespace tavi

// Writes the list as the game holds it to `path` (the page offers it as Highscore.dat).
extern "C" EMSCRIPTEN_KEEPALIVE int TaviExportList(const char* path) {
  if (!tavi::webList) return 0;
  const auto bytes = tavi::webList->Bytes();
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written ? 1 : 0;
}

// Takes the list in the file at `path` in place of the game's, stored as any change of the list
// is; a file that is no list the game wrote is refused and nothing changes. The ListCheck.
extern "C" EMSCRIPTEN_KEEPALIVE int TaviImportList(const char* path) {
  std::string bytes;
  std::string error;
  if (!tavi::webList) return -1;
  if (!tavi::ReadRegularFile(path, tavi::HighscoreTable::FileSize + 1, bytes, error)) {
    return static_cast<int>(tavi::ListCheck::WrongSize);
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const tavi::ListCheck check = tavi::CheckListBytes(data, bytes.size());
  if (check != tavi::ListCheck::Good) return static_cast<int>(check);
  std::array<unsigned char, tavi::HighscoreTable::FileSize> list{};
  std::copy(data, data + list.size(), list.begin());
  tavi::webList->Replace(list);
  return static_cast<int>(tavi::ListCheck::Good);
}
