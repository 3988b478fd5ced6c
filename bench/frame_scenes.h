#pragma once

// The frames the composition benchmarks draw: the menu and the busiest game frame, each composed
// by the game's own code into its back buffer and, side by side, by SDL's SDL_FillRect and
// SDL_BlitSurface with colour keys on SDL surfaces made from the same pictures.

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "base/image.h"
#include "base/media_manifest.h"
#include "platform/platform.h"

namespace tavi::bench {

// A scratch working directory whose "media" is the built media: "media\\..." names resolve and
// Highscore.dat is written there, not into the build tree. Removed again at the end.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& mediaDir);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

 private:
  std::string path_;
  std::string previous_;
};

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// An SDL surface holding a copy of an image's pixels, colour-keyed with the image's key or not.
SdlSurface MakeSdlSurface(const Image& image, bool keyed);
// An empty frame in the back buffer's pixel format.
SdlSurface MakeSdlFrame();

// Stops the program with a message when the two frames differ in any pixel.
void RequireIdentical(const Image& ours, SDL_Surface* sdl, const std::string& what);

// A game on the headless platform with the real media: on the menu, with the busiest game world
// (the diver holding the net, fifty objects of every kind on screen, a four-digit score) set up
// beside it, and SDL copies of every picture those frames use.
class FrameScenes {
 public:
  static constexpr int ObjectsPerKind = 50;

  FrameScenes();
  FrameScenes(const FrameScenes&) = delete;
  FrameScenes& operator=(const FrameScenes&) = delete;

  // The menu frame as the main loop renders it.
  void ComposeMenuOurs();
  void ComposeMenuSdl(SDL_Surface* frame) const;
  // The game frame's drawing without the world's update: clear, backdrop, diver, the groups in
  // their drawing order, the score and lives.
  void ComposeGameOurs();
  void ComposeGameSdl(SDL_Surface* frame) const;

  // Composes a few frames both ways and stops the program unless each pair is pixel-identical.
  void Verify();

  const Image& OurFrame() const { return game_->GetDisplay().BackBuffer(); }
  Game& GetGame() { return *game_; }
  SDL_Surface* Band() const { return band_.get(); }

  // Uses SDL's run-length acceleration for every colour-keyed surface (SDL_RLEACCEL).
  void UseRle();

 private:
  struct Sheet {
    SdlSurface surface;
    const Animation* animation = nullptr;
  };
  struct StillPicture {
    SdlSurface surface;
    const Surface* picture = nullptr;
  };

  // A picture of the media manifest, keyed as the game keys it.
  SdlSurface LoadSdl(const media::Picture& picture);
  void BuildBusiestWorld();
  void DrawBackdropSdl(SDL_Surface* frame) const;
  void DrawSheetSdl(const Sheet& sheet, int x, int y, SDL_Surface* frame) const;
  void DrawFontSdl(const std::string& text, int x, int y, SDL_Surface* frame) const;

  ScratchDirectory directory_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<Game> game_;

  SdlSurface band_;
  SdlSurface sand_;
  SdlSurface glyphs_;
  Sheet diverSheets_[4];
  Sheet kindSheets_[ObjectKindCount];
  std::vector<StillPicture> menuPictures_;
};

// The scenes of the benchmark program, built and verified on first use; the second set has SDL's
// run-length acceleration on every colour-keyed surface.
FrameScenes& Scenes();
FrameScenes& RleScenes();

}  // namespace tavi::bench
