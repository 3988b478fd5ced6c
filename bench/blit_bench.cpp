// The two primitives every frame is made of, ours against SDL's: filling the back buffer and
// colour-keyed copies (two 512 x 280 tiles of the background band).

#include <benchmark/benchmark.h>

#include "frame_scenes.h"

namespace tavi::bench {
namespace {

void BM_Clear_Ours(benchmark::State& state) {
  Display& display = Scenes().GetGame().display;
  for (auto _ : state) {
    display.ClearBackBuffer();
    benchmark::DoNotOptimize(display.BackBuffer().Pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_Clear_Sdl(benchmark::State& state) {
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    SDL_FillRect(frame.get(), nullptr, ColourKeyBlue);
    benchmark::DoNotOptimize(frame->pixels);
    benchmark::ClobberMemory();
  }
}

void BM_KeyedTiles_Ours(benchmark::State& state) {
  Game& game = Scenes().GetGame();
  const Image& band = *game.backdrop.backgroundBand.image;
  Image& frame = game.display.BackBuffer();
  for (auto _ : state) {
    BltFast(frame, 0, 424, band, nullptr, true);
    BltFast(frame, 512, 424, band, nullptr, true);
    benchmark::DoNotOptimize(frame.Pixels().data());
    benchmark::ClobberMemory();
  }
}

void BM_KeyedTiles_Sdl(benchmark::State& state) {
  SDL_Surface* band = Scenes().Band();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    SDL_Rect left{0, 424, 0, 0};
    SDL_Rect right{512, 424, 0, 0};
    SDL_BlitSurface(band, nullptr, frame.get(), &left);
    SDL_BlitSurface(band, nullptr, frame.get(), &right);
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
