// mediagen: makes the game's media directory from the sources in art/.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/media_manifest.h"
#include "music.h"
#include "picture_table.h"
#include "pictures.h"
#include "sounds.h"

namespace {

int Usage(std::FILE* out, int status) {
  std::fprintf(out,
               "usage: mediagen --art DIR [--locale DIR] --out DIR\n"
               "       mediagen --art DIR [--locale DIR] --contact-sheet FILE.png\n"
               "       mediagen --art DIR --icon SIZE FILE.png|FILE.bmp\n"
               "       mediagen --art DIR --maskable-icon SIZE FILE.png\n");
  return status;
}

int Fail(const std::string& error) {
  std::fprintf(stderr, "mediagen: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string artDir = "art";
  std::string localeDir;  // the built catalogues, for the pictures with words in each language
  std::string outDir;
  std::string sheet;
  std::string iconFile;
  int iconSize = 0;
  bool maskable = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--art" && hasValue) {
      artDir = argv[++i];
    } else if (arg == "--locale" && hasValue) {
      localeDir = argv[++i];
    } else if (arg == "--out" && hasValue) {
      outDir = argv[++i];
    } else if (arg == "--contact-sheet" && hasValue) {
      sheet = argv[++i];
    } else if ((arg == "--icon" || arg == "--maskable-icon") && i + 2 < argc) {
      maskable = arg == "--maskable-icon";
      iconSize = std::atoi(argv[++i]);
      iconFile = argv[++i];
    } else if (arg == "--help") {
      return Usage(stdout, 0);
    } else {
      return Usage(stderr, 2);
    }
  }
  if (outDir.empty() && sheet.empty() && iconFile.empty()) return Usage(stderr, 2);

  std::string error;
  if (!sheet.empty() && !mediagen::MakeContactSheet(artDir, localeDir, sheet, error)) return Fail(error);
  if (!iconFile.empty() && !(maskable ? mediagen::MakeMaskableIcon(artDir, iconSize, iconFile, error)
                                      : mediagen::MakeIcon(artDir, iconSize, iconFile, error))) {
    return Fail(error);
  }
  if (!outDir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) return Fail("cannot create " + outDir + ": " + ec.message());
    if (!mediagen::MakePictures(artDir, localeDir, outDir, error)) return Fail(error);
    const tavi::media::Picture& icon = tavi::media::WindowIcon;
    if (!mediagen::MakeIcon(artDir, icon.width, outDir + "/" + mediagen::MediaFileName(icon.file), error)) {
      return Fail(error);
    }
    if (!mediagen::MakeSounds(artDir, outDir, error)) return Fail(error);
    if (!mediagen::MakeMusic(artDir, outDir, error)) return Fail(error);
  }
  return 0;
}
