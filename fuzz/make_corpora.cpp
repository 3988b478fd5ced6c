// Writes the seed corpora of the fuzz targets: the game's own media, and one valid file of each
// format the game has none of (a highscore input, a demo). The dictionaries beside the targets
// (fuzz/*.dict) give libFuzzer the formats' tags; the rest it finds by itself.
//
// usage: make_corpora MEDIA_DIR OUT_DIR
// OUT_DIR gets one directory per target (bmp, highscore, demo, wav, midi), emptied first.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "bmp_sizes.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

bool failed = false;

void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make_corpora: cannot write %s\n", path.c_str());
    failed = true;
  }
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

void PutLe32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Input of the highscore target: name length, name, score, then the file.
Bytes HighscoreInput() {
  Bytes in = "\x03neu";
  PutLe32(in, 55);
  for (int k = 0; k < 10; ++k) {
    Bytes record = "spieler" + std::to_string(k);
    record.resize(12, '\0');
    PutLe32(record, 90 - 10 * k);
    in += record;
  }
  return in;
}

const char* const Demo =
    "seed 12345\n0 move 500 300\n20 click 480 340\n120 click 480 700\n140 click 480 440\n"
    "240 click 480 700\n260 click 480 240\n261 keys RIGHT\n280 keys UP SPACE\n300 keys DOWN LEFT\n"
    "320 keys\n325 click 480 340\n330 esc\n340 keys BACK\n343 keys T\n346 keys\n349 keys RETURN\n"
    "352 keys\n353 dblclick 1 2\n600 quit\n";

fs::path Emptied(const fs::path& directory) {
  std::error_code error;
  fs::remove_all(directory, error);
  fs::create_directories(directory);
  return directory;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_corpora MEDIA_DIR OUT_DIR\n");
    return 2;
  }
  const fs::path media = argv[1], out = argv[2];
  std::error_code error;
  if (!fs::is_directory(media, error)) {
    std::fprintf(stderr, "make_corpora: no media directory %s\n", media.c_str());
    return 1;
  }
  for (const char* target : {"bmp", "wav", "midi"}) Emptied(out / target);
  int count = 0;
  for (const auto& entry : fs::directory_iterator(media, error)) {
    const fs::path& path = entry.path();
    const Bytes file = ReadFile(path);
    const std::string name = "media-" + path.filename().string();
    if (path.extension() == ".bmp") {
      // The bitmap target's first byte chooses the size the picture is loaded at: its own.
      const int size = file.size() >= 26 ? tavi::fuzz::BmpSizeSelector(Le32(file, 18), Le32(file, 22)) : -1;
      Write(out / "bmp" / name, Bytes(1, static_cast<char>(size < 0 ? 0 : size)) + file);
    } else if (path.extension() == ".wav") {
      Write(out / "wav" / name, file);
    } else if (path.extension() == ".mid") {
      Write(out / "midi" / name, file);
    } else {
      continue;
    }
    ++count;
  }
  Write(Emptied(out / "highscore") / "typical.bin", HighscoreInput());
  Write(Emptied(out / "demo") / "tour.demo", Demo);
  if (failed) return 1;
  std::printf("make_corpora: %d media files, a highscore input and a demo\n", count);
  return 0;
}
