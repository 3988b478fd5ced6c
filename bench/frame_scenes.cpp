#include "frame_scenes.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "game/game_frame.h"
#include "graphics/bmp_decoder.h"
#include "platform/headless_platform.h"

namespace tavi::bench {

namespace {

std::string scratchPath;  // removed even when the program stops on a failed check

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "tavi_bench: %s\n", message.c_str());
  std::error_code error;
  if (!scratchPath.empty()) std::filesystem::remove_all(scratchPath, error);
  std::abort();
}

// Later groups cover earlier ones, as in the game frame.
constexpr ObjectKind DrawOrder[ObjectKindCount] = {ObjectKind::Fish,   ObjectKind::Plant,  ObjectKind::Stone,
                                                   ObjectKind::PoisonBarrel, ObjectKind::Barrel,
                                                   ObjectKind::Shark,  ObjectKind::Bubbles};

constexpr int LakeBottom = 672;

int DiverSheetIndex(DiverPose pose) {
  switch (pose) {
    case DiverPose::Level: return 0;
    case DiverPose::Up: return 1;
    case DiverPose::Down: return 2;
    case DiverPose::Net: return 3;
    default: return -1;
  }
}

void Blit(SDL_Surface* source, const SDL_Rect* rect, int x, int y, SDL_Surface* frame) {
  SDL_Rect at{x, y, 0, 0};
  SDL_BlitSurface(source, rect, frame, &at);  // SDL clips against the frame itself
}

}  // namespace

ScratchDirectory::ScratchDirectory(const std::string& mediaDir) {
  char pattern[] = "/tmp/tavi-bench-XXXXXX";
  if (!mkdtemp(pattern)) Die("cannot make a scratch directory in /tmp");
  path_ = pattern;
  scratchPath = path_;
  std::error_code error;
  std::filesystem::create_directory_symlink(mediaDir, path_ + "/media", error);
  if (error) Die("cannot link the media into " + path_ + ": " + error.message());
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd)) previous_ = cwd;
  if (chdir(path_.c_str()) != 0) Die("cannot enter " + path_);
}

ScratchDirectory::~ScratchDirectory() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);  // the link, not the media behind it
}

SdlSurface MakeSdlSurface(const Image& image, bool keyed) {
  SdlSurface surface(
      SDL_CreateRGBSurfaceWithFormat(0, image.Width(), image.Height(), 32, SDL_PIXELFORMAT_RGB888));
  if (!surface) Die(std::string("SDL_CreateRGBSurfaceWithFormat: ") + SDL_GetError());
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(static_cast<char*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch,
                image.Row(y), static_cast<std::size_t>(image.Width()) * sizeof(Pixel));
  }
  SDL_SetSurfaceBlendMode(surface.get(), SDL_BLENDMODE_NONE);
  if (keyed) SDL_SetColorKey(surface.get(), SDL_TRUE, image.ColourKey());
  return surface;
}

SdlSurface MakeSdlFrame() {
  SdlSurface frame(SDL_CreateRGBSurfaceWithFormat(0, FrameWidth, FrameHeight, 32, SDL_PIXELFORMAT_RGB888));
  if (!frame) Die(std::string("SDL_CreateRGBSurfaceWithFormat: ") + SDL_GetError());
  return frame;
}

void RequireIdentical(const Image& ours, SDL_Surface* sdl, const std::string& what) {
  if (ours.Width() != sdl->w || ours.Height() != sdl->h) Die(what + ": the frames differ in size");
  for (int y = 0; y < ours.Height(); ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(static_cast<const char*>(sdl->pixels) +
                                                     static_cast<std::ptrdiff_t>(y) * sdl->pitch);
    for (int x = 0; x < ours.Width(); ++x) {
      if (ours.At(x, y) != row[x]) {
        char text[160];
        std::snprintf(text, sizeof text, ": our frame and SDL's differ at (%d, %d): 0x%06X against 0x%06X", x,
                      y, static_cast<unsigned>(ours.At(x, y)), static_cast<unsigned>(row[x]));
        Die(what + text);
      }
    }
  }
}

FrameScenes::FrameScenes()
    : directory_(TAVI_MEDIA_DIR), platform_(CreateHeadlessPlatform()), game_(std::make_unique<Game>(*platform_, *platform_)) {
  game_->Startup(1);
  Game& g = *game_;

  // The menu's pictures in the order it draws them.
  const ScreenContext& context = g.Screens().Context();
  const Surface* stills[] = {&context.Still(media::Title),           &context.Still(media::NewGameButton),
                             &context.Still(media::InstructionsButton), &context.Still(media::HighscoreButton),
                             &context.Still(media::EndButton),       &context.SelectionFrame(),
                             &context.Pointer()};
  for (const Surface* picture : stills) {
    if (!picture->image) Die("a menu picture did not load; is the media built?");
    menuPictures_.push_back({MakeSdlSurface(*picture->image, picture->colourKeyed), picture});
  }
  const Surface& bandPicture = g.GetBackdrop().backgroundBand;
  if (!bandPicture.image) Die(std::string(media::BackgroundBand.file) + " did not load");
  band_ = MakeSdlSurface(*bandPicture.image, true);
  sand_ = LoadSdl(media::Sand);
  glyphs_ = LoadSdl(media::Glyphs);
  for (int i = 0; i < 4; ++i) diverSheets_[i] = {LoadSdl(*media::DiverSheets[i]), &g.GetDiver().animations[i]};
  for (int k = 0; k < ObjectKindCount; ++k) {
    kindSheets_[k] = {LoadSdl(*media::ObjectSheets[k]), &g.Groups()[k]->GetAnimation()};
  }
  BuildBusiestWorld();
}

SdlSurface FrameScenes::LoadSdl(const media::Picture& picture) {
  Image image;
  if (!LoadBitmap(*platform_, picture.file, picture.width, picture.height, image)) {
    Die(std::string(picture.file) + " did not load");
  }
  image.SetColourKey(media::KeyColour(picture.key));
  return MakeSdlSurface(image, true);
}

void FrameScenes::BuildBusiestWorld() {
  Diver& diver = game_->GetDiver();
  diver.pose = DiverPose::Net;
  diver.x = 420;
  diver.y = 300;
  diver.score = 1234;
  diver.lives = 3;
  // Fifty of each kind spread over the lake, a few cut by the left edge, none off screen.
  std::uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
  };
  for (ObjectGroup* group : game_->Groups()) {
    group->Clear();
    const Animation& a = group->GetAnimation();
    for (int i = 0; i < ObjectsPerKind; ++i) {
      group->Spawn();
      ObjectInstance& o = group->Instances().back();
      o.x = next(FrameWidth) - a.FrameWidth() / 4;
      o.y = next(LakeBottom - a.FrameHeight());
    }
  }
}

void FrameScenes::UseRle() {
  auto rle = [](SDL_Surface* s) {
    if (SDL_HasColorKey(s)) SDL_SetSurfaceRLE(s, 1);
  };
  rle(band_.get());
  rle(sand_.get());
  rle(glyphs_.get());
  for (Sheet& s : diverSheets_) rle(s.surface.get());
  for (Sheet& s : kindSheets_) rle(s.surface.get());
  for (StillPicture& p : menuPictures_) rle(p.surface.get());
}

void FrameScenes::ComposeMenuOurs() { game_->RenderFrame(KeySnapshot{}); }

void FrameScenes::ComposeGameOurs() {
  Display& display = game_->GetDisplay();
  display.ClearBackBuffer();
  game_->GetBackdrop().DrawBackgroundBand(display);
  game_->GetBackdrop().DrawSandStrip(display);
  DrawGameFrame(game_->GetDiver(), game_->Groups());
}

void FrameScenes::DrawBackdropSdl(SDL_Surface* frame) const {
  SDL_FillRect(frame, nullptr, ColourKeyBlue);
  const float bandScroll = game_->GetBackdrop().BandScroll();
  for (int k = 0; k < 3; ++k) Blit(band_.get(), nullptr, static_cast<int>(bandScroll + 512.0f * k), 424, frame);
  const int sandScroll = game_->GetBackdrop().SandScroll();
  for (int k = 0; k < 3; ++k) Blit(sand_.get(), nullptr, sandScroll + 512 * k, LakeBottom, frame);
}

void FrameScenes::ComposeMenuSdl(SDL_Surface* frame) const {
  DrawBackdropSdl(frame);
  for (const StillPicture& p : menuPictures_) Blit(p.surface.get(), nullptr, p.picture->x, p.picture->y, frame);
}

void FrameScenes::DrawSheetSdl(const Sheet& sheet, int x, int y, SDL_Surface* frame) const {
  const Animation& a = *sheet.animation;
  if (a.Column() < 0 || a.PlaysLeft() == 0) return;
  const SDL_Rect cell{a.Column() * a.FrameWidth(), a.Row() * a.FrameHeight(), a.FrameWidth(), a.FrameHeight()};
  Blit(sheet.surface.get(), &cell, x, y, frame);
}

void FrameScenes::DrawFontSdl(const std::string& text, int x, int y, SDL_Surface* frame) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Rect c = BitmapFont::CellFor(static_cast<unsigned char>(text[i]));
    const SDL_Rect cell{c.left, c.top, c.right - c.left, c.bottom - c.top};
    Blit(glyphs_.get(), &cell, x + 32 * static_cast<int>(i), y, frame);
  }
}

void FrameScenes::ComposeGameSdl(SDL_Surface* frame) const {
  const Diver& diver = game_->GetDiver();
  const ObjectGroups groups = game_->Groups();
  DrawBackdropSdl(frame);
  const int pose = DiverSheetIndex(diver.pose);
  if (pose >= 0) DrawSheetSdl(diverSheets_[pose], diver.x, diver.y, frame);
  for (ObjectKind kind : DrawOrder) {
    const int k = static_cast<int>(kind) - 1;
    for (const ObjectInstance& o : groups[k]->Instances()) DrawSheetSdl(kindSheets_[k], o.x, o.y, frame);
  }
  DrawFontSdl("Punkte " + std::to_string(diver.score), 0, 0, frame);
  DrawFontSdl("Leben  " + std::to_string(diver.lives), 0, 48, frame);
}

void FrameScenes::Verify() {
  SdlSurface frame = MakeSdlFrame();
  // Several frames, so that the backdrop scrolls and the animations step between them.
  for (int i = 0; i < 4; ++i) {
    ComposeMenuSdl(frame.get());
    ComposeMenuOurs();
    RequireIdentical(OurFrame(), frame.get(), "menu frame " + std::to_string(i));
    ComposeGameSdl(frame.get());
    ComposeGameOurs();
    RequireIdentical(OurFrame(), frame.get(), "game frame " + std::to_string(i));
  }
  for (const ObjectGroup* group : game_->Groups()) {
    if (group->Instances().size() != static_cast<std::size_t>(ObjectsPerKind)) Die("the busiest world lost objects");
  }
}

FrameScenes& Scenes() {
  static FrameScenes scenes;
  static const bool verified = (scenes.Verify(), true);
  (void)verified;
  return scenes;
}

FrameScenes& RleScenes() {
  static FrameScenes scenes;
  static const bool verified = (scenes.UseRle(), scenes.Verify(), true);
  (void)verified;
  return scenes;
}

}  // namespace tavi::bench
