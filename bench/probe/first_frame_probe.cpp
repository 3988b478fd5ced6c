// Preloaded into the game by bench/run.sh (LD_PRELOAD) to time start-up: the first time a frame
// reaches the screen (SDL_RenderPresent returns), the wall clock in nanoseconds is written to the
// file named by TAVI_FIRST_FRAME_FILE. The game itself is not changed.

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
  using PresentFunction = void (*)(SDL_Renderer*);
  static PresentFunction realPresent = reinterpret_cast<PresentFunction>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
  static bool presented = false;
  if (realPresent) realPresent(renderer);
  if (presented) return;
  presented = true;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  if (const char* file = std::getenv("TAVI_FIRST_FRAME_FILE")) {
    if (std::FILE* out = std::fopen(file, "w")) {
      std::fprintf(out, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fclose(out);
    }
  }
}
