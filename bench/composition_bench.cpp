// Composing whole frames: the game's own renderer against SDL's blitter on the same pictures.
// Each pair draws pixel-identical frames (checked before timing); the figure is time per frame.

#include <benchmark/benchmark.h>

#include "frame_scenes.h"

namespace tavi::bench {
namespace {

void KeepFrame(const Image& frame) {
  benchmark::DoNotOptimize(frame.Pixels().data());
  benchmark::ClobberMemory();
}

void KeepFrame(SDL_Surface* frame) {
  benchmark::DoNotOptimize(frame->pixels);
  benchmark::ClobberMemory();
}

void BM_GameFrame_Ours(benchmark::State& state) {
  FrameScenes& scenes = Scenes();
  for (auto _ : state) {
    scenes.ComposeGameOurs();
    KeepFrame(scenes.OurFrame());
  }
}

void BM_GameFrame_Sdl(benchmark::State& state) {
  FrameScenes& scenes = Scenes();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    scenes.ComposeGameSdl(frame.get());
    KeepFrame(frame.get());
  }
}

void BM_GameFrame_SdlRle(benchmark::State& state) {
  FrameScenes& scenes = RleScenes();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    scenes.ComposeGameSdl(frame.get());
    KeepFrame(frame.get());
  }
}

void BM_MenuFrame_Ours(benchmark::State& state) {
  FrameScenes& scenes = Scenes();
  for (auto _ : state) {
    scenes.ComposeMenuOurs();
    KeepFrame(scenes.OurFrame());
  }
}

void BM_MenuFrame_Sdl(benchmark::State& state) {
  FrameScenes& scenes = Scenes();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    scenes.ComposeMenuSdl(frame.get());
    KeepFrame(frame.get());
  }
}

void BM_MenuFrame_SdlRle(benchmark::State& state) {
  FrameScenes& scenes = RleScenes();
  SdlSurface frame = MakeSdlFrame();
  for (auto _ : state) {
    scenes.ComposeMenuSdl(frame.get());
    KeepFrame(frame.get());
  }
}

BENCHMARK(BM_GameFrame_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameFrame_Sdl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameFrame_SdlRle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrame_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrame_Sdl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrame_SdlRle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavi::bench

BENCHMARK_MAIN();
