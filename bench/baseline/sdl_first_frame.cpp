// The baseline for start-up and memory in a window: the least an SDL program needs to do to show
// the game's first frame with its music playing (window, renderer, streaming texture, mixer with
// the soundfont and the MIDI music) and nothing of the game itself. bench/run.sh measures it
// beside the game.
//
//   tavi_sdl_baseline [--frames N] [--nosound]

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/frame_size.h"
#include "base/media_manifest.h"

namespace {

constexpr int Width = tavi::FrameWidth;
constexpr int Height = tavi::FrameHeight;

bool Exists(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 1;
  bool sound = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--nosound") == 0) {
      sound = false;
    } else {
      std::fprintf(stderr, "usage: tavi_sdl_baseline [--frames N] [--nosound]\n");
      return 2;
    }
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("Tavi der Taucher", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width,
                                        Height, 0);
  if (!window) {
    std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer) {
    std::fprintf(stderr, "SDL renderer: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RenderSetLogicalSize(renderer, Width, Height);
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, Width, Height);

  Mix_Music* music = nullptr;
  if (sound && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    const char* font = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    Mix_SetSoundFonts(Exists(font) ? font : "/usr/share/sounds/sf3/default-GM.sf3");
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) == 0) {
      const std::string musicFile = std::string(TAVI_MEDIA_DIR "/") + (std::strrchr(tavi::media::Music.file, '\\') + 1);
      music = Mix_LoadMUS(musicFile.c_str());
      if (music) Mix_PlayMusic(music, -1);
    }
  }

  std::vector<Uint32> pixels(static_cast<std::size_t>(Width) * Height, 0x0000FF);
  const Uint64 frameTicks = SDL_GetPerformanceFrequency() / 60;
  for (int frame = 0; frame < frames; ++frame) {
    const Uint64 start = SDL_GetPerformanceCounter();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    SDL_UpdateTexture(texture, nullptr, pixels.data(), Width * 4);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    const Uint64 spent = SDL_GetPerformanceCounter() - start;
    if (spent < frameTicks) SDL_Delay(static_cast<Uint32>((frameTicks - spent) * 1000 / SDL_GetPerformanceFrequency()));
  }

  if (music) {
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    Mix_CloseAudio();
  }
  Mix_Quit();
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
