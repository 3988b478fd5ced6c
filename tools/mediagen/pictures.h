#pragma once

#include <string>

namespace mediagen {

// Rasterises every SVG of artDir/pictures at its exact size, flattens it onto its colour key and
// writes it as a BMP into outDir; a picture with words also in each language of localeDir's
// catalogues that translates them, into outDir/LANGUAGE. False (and a message) on the first failure.
bool MakePictures(const std::string& artDir, const std::string& localeDir, const std::string& outDir,
                  std::string& error);

// Draws every picture, every animation frame and every language's pictures with words on a
// checkerboard with its name, as a PNG.
bool MakeContactSheet(const std::string& artDir, const std::string& localeDir, const std::string& pngFile,
                      std::string& error);

// Desktop icons of the given size made from the art: a square PNG, or a 32-bit BMP with alpha
// (the window icon) when the file name ends in ".bmp".
bool MakeIcon(const std::string& artDir, int size, const std::string& file, std::string& error);

// An app icon for masks of any shape (the browser's installed app): the drawing smaller, on an
// opaque square of the lake's colour, as a PNG.
bool MakeMaskableIcon(const std::string& artDir, int size, const std::string& file, std::string& error);

}  // namespace mediagen
