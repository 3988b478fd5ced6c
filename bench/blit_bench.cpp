// The two primitives every frame is made of, ours against SDL's: filling the back buffer and
// colour-keyed copies (two 512 x 280 tiles of the background band).

#include <benchmark/benchmark.h>

#include "frame_scenes.h"

namespace tavi::bench {
namespace {

void DrawTilesOurs(Image& frame, const Image& band) {
  BltFast(frame, 0, 424, band, nullptr, true);
  BltFast(frame, 512, 424, band, nullptr, true);
}

void DrawTilesSdl(SDL_Surface* frame, SDL_Surface* band) {
  SDL_Rect left{0, 424, 0, 0};
  SDL_Rect right{512, 424, 0, 0};
  SDL_BlitSurface(band, nullptr, frame, &left);
  SDL_BlitSurface(band, nullptr, frame, &right);
}

// Both sides must draw the same pixels before their speed is compared.
void VerifyPrimitives() {
  static const bool verified = [] {
    Game& game = Scenes().GetGame();
    SdlSurface frame = MakeSdlFrame();
    game.GetDisplay().ClearBackBuffer();
    SDL_FillRect(frame.get(), nullptr, ColourKeyBlue);
    RequireIdentical(game.GetDisplay().BackBuffer(), frame.get(), "cleared frame");
    DrawTilesOurs(game.GetDisplay().BackBuffer(), *game.GetBackdrop().backgroundBand.image);
    DrawTilesSdl(frame.get(), Scenes().Band());
    RequireIdentical(game.GetDisplay().BackBuffer(), frame.get(), "two keyed tiles");
    return true;
  }();
  (void)verified;
}

void BM_Clear_Ours(benchmark::State& state) {
  VerifyPrimitives();
  Display& display = Scenes().GetGame().GetDisplay();
  for (auto _ : state) {
    display.ClearBackBuffer();
    benchmark::DoNotOptimize(display.BackBuffer().Pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_Clear_Sdl(benchmark::State& state) {
  VerifyPrimitives();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    SDL_FillRect(frame.get(), nullptr, ColourKeyBlue);
    benchmark::DoNotOptimize(frame->pixels);
    benchmark::ClobberMemory();
  }
}

void BM_KeyedTiles_Ours(benchmark::State& state) {
  VerifyPrimitives();
  Game& game = Scenes().GetGame();
  const Image& band = *game.GetBackdrop().backgroundBand.image;
  Image& frame = game.GetDisplay().BackBuffer();
  for (auto _ : state) {
    DrawTilesOurs(frame, band);
    benchmark::DoNotOptimize(frame.Pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_KeyedTiles_Sdl(benchmark::State& state) {
  VerifyPrimitives();
  SDL_Surface* band = Scenes().Band();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    DrawTilesSdl(frame.get(), band);
    benchmark::DoNotOptimize(frame->pixels);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_Clear_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Clear_Sdl)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedTiles_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyedTiles_Sdl)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavi::bench
