// Preloaded into the game by bench/run.sh (LD_PRELOAD) to time every frame; the game itself is
// not changed. The monotonic clock in nanoseconds, one line per frame, goes to the file named by
// TAVI_FRAME_TIMES_FILE:
//  - in a window, two columns: when the frame started (the game's last SDL_GetPerformanceCounter
//    before presenting it: its pacing check) and when SDL_RenderPresent returned;
//  - headless, where frames reach no library, whenever a line is written to the trace file named
//    by TAVI_FRAME_TIMES_TRACE (the game writes one per frame, right after presenting it). That
//    trace is kept nowhere.

#define _GNU_SOURCE 1
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

std::FILE* OpenFile(const char* path, const char* mode) {
  using OpenFunction = std::FILE* (*)(const char*, const char*);
  static OpenFunction realOpen = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "fopen"));
  return realOpen ? realOpen(path, mode) : nullptr;
}

long long NowNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long long lastCounterRead = 0;

// `started` is 0 where only one time per frame is known.
void NoteFrame(long long started = 0) {
  const long long now = NowNanoseconds();
  static std::FILE* out = nullptr;
  static bool opened = false;
  if (!opened) {
    opened = true;
    if (const char* file = std::getenv("TAVI_FRAME_TIMES_FILE")) out = OpenFile(file, "w");
  }
  if (out && started != 0) std::fprintf(out, "%lld %lld\n", started, now);
  if (out && started == 0) std::fprintf(out, "%lld\n", now);
}

ssize_t NoteTraceLines(void*, const char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') NoteFrame();
  }
  return static_cast<ssize_t>(size);
}

}  // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
  using PresentFunction = void (*)(SDL_Renderer*);
  static PresentFunction realPresent = reinterpret_cast<PresentFunction>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
  if (realPresent) realPresent(renderer);
  NoteFrame(lastCounterRead);
}

extern "C" Uint64 SDL_GetPerformanceCounter(void) {
  using CounterFunction = Uint64 (*)();
  static CounterFunction realCounter = reinterpret_cast<CounterFunction>(dlsym(RTLD_NEXT, "SDL_GetPerformanceCounter"));
  const Uint64 counter = realCounter ? realCounter() : 0;
  lastCounterRead = NowNanoseconds();
  return counter;
}

extern "C" std::FILE* fopen(const char* path, const char* mode) {
  const char* trace = std::getenv("TAVI_FRAME_TIMES_TRACE");
  if (trace == nullptr || path == nullptr || std::strcmp(path, trace) != 0) return OpenFile(path, mode);
  cookie_io_functions_t functions{};
  functions.write = NoteTraceLines;
  std::FILE* stream = fopencookie(nullptr, mode, functions);
  // Every line is handed on as it is written, so its time is the frame's.
  if (stream) std::setvbuf(stream, nullptr, _IOLBF, BUFSIZ);
  return stream;
}
