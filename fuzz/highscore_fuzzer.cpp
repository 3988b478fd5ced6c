// The highscore file with any contents: loading it, drawing the list, entering a result and
// clearing the list. Input: one byte n (the name is n % 13 bytes), the name, a 32-bit
// little-endian score, then the bytes of "Highscore.dat".
//
// Properties: the loaded table is the file's first 160 bytes over a zeroed table; an entry goes
// exactly where the rules put it; the file equals the table after every change and is left
// alone when nothing changed; no error is reported and no temporary file is left behind.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

#include "app/highscore_screen.h"
#include "base/error_log.h"
#include "fuzz_check.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "highscore/highscore_table.h"
#include "platform/headless_platform.h"

#ifndef TAVI_MEDIA_DIR
#error "TAVI_MEDIA_DIR must name the built media directory"
#endif

namespace {

namespace fs = std::filesystem;
using tavi::HighscoreTable;
using Bytes = std::array<unsigned char, HighscoreTable::FileSize>;

constexpr int EntrySize = HighscoreTable::NameFieldSize + 4;
const char* const FileName = "Highscore.dat";
const char* const ErrorFile = "Error.txt";

// A private working directory (in memory where the machine has /dev/shm), with the game's media
// beside it so that the list is drawn with the real glyph sheet.
struct Workspace {
  Workspace() {
    std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    pattern += "/tavi-highscore-fuzz-XXXXXX";
    TAVI_REQUIRE(mkdtemp(pattern.data()) != nullptr);
    directory = pattern;
    TAVI_REQUIRE(chdir(directory.c_str()) == 0);
    std::error_code error;
    fs::create_directory_symlink(TAVI_MEDIA_DIR, "media", error);
    TAVI_REQUIRE(!error);
  }
  ~Workspace() {
    std::error_code ignored;
    fs::remove_all(directory, ignored);
  }
  static Workspace& Instance() {
    static Workspace workspace;
    return workspace;
  }

  std::string directory;
  std::unique_ptr<tavi::Platform> platform = tavi::CreateHeadlessPlatform();
  tavi::ErrorLog errors{platform.get(), ErrorFile};
  tavi::Display display{*platform, errors};
  tavi::BitmapFont font{display};
};

std::string ReadWhole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteWhole(const char* path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  TAVI_REQUIRE(out.good());
}

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::int32_t ScoreAt(const Bytes& table, int k) {
  std::uint32_t score = 0;
  for (int b = 0; b < 4; ++b) {
    score |= static_cast<std::uint32_t>(table[k * EntrySize + HighscoreTable::NameFieldSize + b]) << (8 * b);
  }
  return static_cast<std::int32_t>(score);
}

// Where a result goes and what the table then holds, worked out from the file format alone.
bool ModelInsert(Bytes& table, const std::string& name, std::int32_t score) {
  int place = 0;
  while (place < HighscoreTable::HighscoreCount && ScoreAt(table, place) >= score) ++place;
  if (place == HighscoreTable::HighscoreCount) return false;
  for (int k = HighscoreTable::HighscoreCount - 1; k > place; --k) {
    std::memcpy(&table[k * EntrySize], &table[(k - 1) * EntrySize], EntrySize);
  }
  unsigned char* entry = &table[place * EntrySize];
  const std::size_t length = strnlen(name.c_str(), HighscoreTable::NameFieldSize);
  std::memcpy(entry, name.data(), length);
  if (length < static_cast<std::size_t>(HighscoreTable::NameFieldSize)) entry[length] = 0;
  const auto bits = static_cast<std::uint32_t>(score);
  for (int b = 0; b < 4; ++b) entry[HighscoreTable::NameFieldSize + b] = static_cast<unsigned char>(bits >> (8 * b));
  return true;
}

void ModelClear(Bytes& table) {
  for (int k = 0; k < HighscoreTable::HighscoreCount; ++k) {
    unsigned char* entry = &table[k * EntrySize];
    entry[0] = '-';
    entry[1] = 0;
    std::memset(entry + HighscoreTable::NameFieldSize, 0, 4);
  }
}

// Only the list and its lock file may be there besides the media link.
void RequireNoStrayFiles() {
  for (const auto& entry : fs::directory_iterator(".")) {
    const std::string name = entry.path().filename();
    TAVI_REQUIRE(name == "media" || name == FileName || name == std::string(FileName) + ".lock");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t nameLength = std::min<std::size_t>(data[0] % 13, size - 1);
  const std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
  std::size_t at = 1 + nameLength;
  std::uint32_t scoreBits = 0;
  for (int b = 0; b < 4 && at < size; ++b, ++at) scoreBits |= static_cast<std::uint32_t>(data[at]) << (8 * b);
  const auto score = static_cast<std::int32_t>(scoreBits);
  const std::uint8_t* file = data + at;
  const std::size_t fileSize = size - at;

  Workspace& workspace = Workspace::Instance();
  WriteWhole(FileName, file, fileSize);

  HighscoreTable table{workspace.errors};
  table.Load();
  Bytes expected{};
  std::copy(file, file + std::min<std::size_t>(fileSize, expected.size()), expected.begin());
  TAVI_REQUIRE(table.Bytes() == expected);
  TAVI_REQUIRE(ReadWhole(FileName) == std::string(reinterpret_cast<const char*>(file), fileSize));
  DrawHighscoreList(table, workspace.font);

  const bool changed = ModelInsert(expected, name, score);
  table.Insert(name, score);
  TAVI_REQUIRE(table.Bytes() == expected);
  if (changed) {
    TAVI_REQUIRE(ReadWhole(FileName) == AsString(expected));
  } else {
    TAVI_REQUIRE(ReadWhole(FileName) == std::string(reinterpret_cast<const char*>(file), fileSize));
  }
  DrawHighscoreList(table, workspace.font);

  ModelClear(expected);
  table.Clear();
  TAVI_REQUIRE(table.Bytes() == expected);
  TAVI_REQUIRE(ReadWhole(FileName) == AsString(expected));
  DrawHighscoreList(table, workspace.font);

  RequireNoStrayFiles();  // also: nothing went to the error file
  std::remove(FileName);
  return 0;
}
