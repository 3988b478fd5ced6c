// Writes the seed corpora of the fuzz targets: the game's own media, the stored demos of the tests
// and the built catalogues, one valid file or more per format. The dictionaries beside the targets
// (fuzz/*.dict) give libFuzzer the formats' tags; the rest it finds by itself.
//
// usage: make_corpora MEDIA_DIR DEMO_DIR LOCALE_DIR OUT_DIR
// OUT_DIR gets one directory per target (bmp, demo, wav, midi, catalogue, settings), emptied first.
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_corpora MEDIA_DIR DEMO_DIR LOCALE_DIR OUT_DIR\n");
    return 2;
  }
  const fs::path media = argv[1], demos = argv[2], locales = argv[3], out = argv[4];
  std::error_code error;
  if (!fs::is_directory(media, error) || !fs::is_directory(demos, error)) {
    std::fprintf(stderr, "make_corpora: no directory %s or %s\n", media.c_str(), demos.c_str());
    return 1;
  }
  for (const char* target : {"bmp", "demo", "wav", "midi", "catalogue", "settings"}) {
    fs::remove_all(out / target, error);
    fs::create_directories(out / target);
  }
  // A settings file as players keep it; the game's own default file is much like it.
  Write(out / "settings" / "tavi.ini",
        "; mine\n[display]\nfullscreen = false\nwindow_width = 800 ; by hand\nwindow_height: 600\nscaling = sharp\n"
        "[sound]\nmusic_volume = 40\nmuted = true\n[keys]\nup = W\nnet = 0x1D\n# old\n[language]\nlanguage = en\n");
  int count = 0;
  for (const fs::path& directory : {media, demos}) {
    for (const auto& entry : fs::directory_iterator(directory, error)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file()) continue;  // media/en: the same kind of pictures again
      const Bytes file = ReadFile(path);
      const std::string extension = path.extension().string();
      if (extension == ".bmp") {
        // The bitmap target's first byte chooses the size the picture is loaded at: its own.
        const int size = file.size() >= 26 ? tavi::fuzz::BmpSizeSelector(Le32(file, 18), Le32(file, 22)) : -1;
        Write(out / "bmp" / path.filename(), Bytes(1, static_cast<char>(size < 0 ? 0 : size)) + file);
      } else if (extension == ".wav" || extension == ".demo") {
        Write(out / extension.substr(1) / path.filename(), file);
      } else if (extension == ".mid") {
        Write(out / "midi" / path.filename(), file);
      } else {
        continue;
      }
      ++count;
    }
  }
  for (const auto& language : fs::directory_iterator(locales, error)) {
    const fs::path catalogue = language.path() / "LC_MESSAGES" / "tavi.mo";
    if (!fs::is_regular_file(catalogue, error)) continue;
    Write(out / "catalogue" / (language.path().filename().string() + ".mo"), ReadFile(catalogue));
    ++count;
  }
  if (failed || count == 0) return 1;
  std::printf("make_corpora: %d seeds\n", count);
  return 0;
}
