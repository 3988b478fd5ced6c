#pragma once

// Every picture, animation sheet, sound effect and the music the game loads, with all the game
// knows about each: the one place these are written down. The game, mediagen, the benchmark, the
// tests and the fuzz targets read it.
//
// File names are the game's own: Windows-1252, a backslash after "media" (the platform maps them
// to a path). The name of an effect is also the key it is played by.

#include <cstddef>
#include <cstdint>

namespace tavi::media {

// How a picture is made transparent: not at all, by pure blue or by pure black.
enum class Key : std::uint8_t { None, Blue, Black };

// 0x00RRGGBB of the key; only meaningful for a keyed picture.
constexpr std::uint32_t KeyColour(Key key) { return key == Key::Black ? 0x000000u : 0x0000FFu; }

struct Picture {
  const char* file;
  int width;
  int height;
  Key key;
  int columns;          // a sheet is a grid of equal cells (frames, or the font's glyphs)
  int rows;
  std::uint32_t delay;  // rendered frames per animation frame; 0 when the cells are no animation
  bool placed;          // a still picture drawn where it was placed at loading:
  int x;
  int y;
  bool words = false;   // carries words: each language has its own variant, media\\<code>\\<name>

  constexpr bool Keyed() const { return key != Key::None; }
  constexpr bool Animated() const { return delay != 0; }
  constexpr int Frames() const { return columns * rows; }
};

struct Sound {
  const char* file;
};

// Menu, instructions and highscore screens. The cursor and the selection frame move from here.
inline constexpr Picture Title{"media\\title.bmp", 440, 65, Key::None, 1, 1, 0, true, 292, 100, true};
inline constexpr Picture Cursor{"media\\cursor.bmp", 32, 32, Key::Blue, 1, 1, 0, true, 512, 384};
inline constexpr Picture NewGameButton{"media\\newgame.bmp", 215, 49, Key::None, 1, 1, 0, true, 404, 250, true};
inline constexpr Picture InstructionsButton{"media\\anleitung.bmp", 215, 49, Key::None, 1, 1, 0, true, 404, 350, true};
inline constexpr Picture HighscoreButton{"media\\highscore.bmp", 215, 49, Key::None, 1, 1, 0, true, 404, 450, true};
inline constexpr Picture EndButton{"media\\ende.bmp", 215, 49, Key::Blue, 1, 1, 0, true, 404, 550, true};
inline constexpr Picture ClearButton{"media\\l\xF6schen.bmp", 198, 34, Key::Blue, 1, 1, 0, true, 413, 600, true};  // löschen
inline constexpr Picture BackButton{"media\\zurueck.bmp", 215, 49, Key::Blue, 1, 1, 0, true, 404, 700, true};
inline constexpr Picture SelectionFrame{"media\\auswahl.bmp", 224, 56, Key::Blue, 1, 1, 0, true, 400, 246};

// The selection frame around a button has its corner this far above and left of the button's; the
// clear button, smaller than the others, sits further inside it.
constexpr int FrameInset(const Picture& button) { return &button == &ClearButton ? 8 : 4; }

// Backdrop and font. The band is drawn three times side by side; the sand strip scrolls.
inline constexpr Picture BackgroundBand{"media\\hg1.bmp", 512, 280, Key::Blue, 1, 1, 0, true, 0, 424};
inline constexpr Picture Sand{"media\\sand.bmp", 512, 96, Key::Blue, 1, 1, 0, false, 0, 0};
inline constexpr Picture Glyphs{"media\\schrift.bmp", 256, 256, Key::Black, 8, 8, 0, false, 0, 0};

// The diver's poses.
inline constexpr Picture DiverLevel{"media\\taucher.bmp", 159, 180, Key::Blue, 1, 3, 10, false, 0, 0};
inline constexpr Picture DiverUp{"media\\taucherh.bmp", 159, 180, Key::Blue, 1, 3, 10, false, 0, 0};
inline constexpr Picture DiverDown{"media\\taucherr.bmp", 159, 180, Key::Blue, 1, 3, 10, false, 0, 0};
inline constexpr Picture DiverNet{"media\\tauchern.bmp", 159, 180, Key::Blue, 1, 3, 10, false, 0, 0};

// The objects in the lake.
inline constexpr Picture Fish{"media\\regenbogenfisch.bmp", 45, 72, Key::Blue, 1, 3, 5, false, 0, 0};
inline constexpr Picture Plant{"media\\pflanze.bmp", 64, 128, Key::Black, 2, 1, 10, false, 0, 0};
inline constexpr Picture PoisonBarrel{"media\\giftfa\xDF.bmp", 236, 91, Key::Blue, 4, 1, 10, false, 0, 0};  // giftfaß
inline constexpr Picture Shark{"media\\hai.bmp", 315, 354, Key::Blue, 1, 3, 5, false, 0, 0};
inline constexpr Picture Bubbles{"media\\blasen.bmp", 72, 18, Key::Blue, 4, 1, 3, false, 0, 0};
inline constexpr Picture Stone{"media\\stein.bmp", 204, 63, Key::Blue, 3, 1, 12, false, 0, 0};
inline constexpr Picture Barrel{"media\\fa\xDF.bmp", 184, 78, Key::Blue, 2, 1, 8, false, 0, 0};  // faß

// Not drawn by the game: the window manager shows it (with its alpha channel).
inline constexpr Picture WindowIcon{"media\\icon.bmp", 64, 64, Key::None, 1, 1, 0, false, 0, 0};

inline constexpr Sound FishSound{"media\\fisch.wav"};
inline constexpr Sound BarrelSound{"media\\fa\xDF.wav"};  // faß
inline constexpr Sound NextSound{"media\\next.wav"};
inline constexpr Sound StoneSound{"media\\stein.wav"};
inline constexpr Sound SharkSound{"media\\hai.wav"};

inline constexpr Sound Music{"media\\background.mid"};

// Every picture, in the order above.
inline constexpr const Picture* Pictures[] = {
    &Title,     &Cursor,   &NewGameButton, &InstructionsButton, &HighscoreButton, &EndButton, &ClearButton,
    &BackButton, &SelectionFrame, &BackgroundBand, &Sand, &Glyphs, &DiverLevel, &DiverUp, &DiverDown,
    &DiverNet,  &Fish,     &Plant,         &PoisonBarrel,       &Shark,           &Bubbles,   &Stone,
    &Barrel};

// In the order of the diver's animations: level, up, down, net.
inline constexpr const Picture* DiverSheets[] = {&DiverLevel, &DiverUp, &DiverDown, &DiverNet};

// By object kind, Fish .. Barrel.
inline constexpr const Picture* ObjectSheets[] = {&Fish, &Plant, &PoisonBarrel, &Shark, &Bubbles, &Stone, &Barrel};

// The effects in loading order.
inline constexpr const Sound* Effects[] = {&FishSound, &BarrelSound, &NextSound, &StoneSound, &SharkSound};

}  // namespace tavi::media
