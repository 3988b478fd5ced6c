// tavi in a browser: the page passes its options as arguments, the browser's animation frames
// drive the program one frame at a time.
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/file_paths.h"
#include "app/language.h"
#include "app/options.h"
#include "app/program.h"
#include "platform/platform.h"

namespace {

struct WebRun {
  tavi::Options options;
  tavi::FilePaths files;
  std::unique_ptr<tavi::Platform> platform;
  std::unique_ptr<tavi::ProgramRun> run;
  bool persistent = false;  // the list lives in the browser's storage (not while a demo plays)
  long long lastListStamp = 0;
  bool ended = false;
};

WebRun* web = nullptr;

void AnimationFrame();

long long ListStamp(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_mtime) * 1000003 + info.st_size : 0;
}

// A saved list goes to the browser's storage at once.
void SyncWhenSaved() {
  if (!web->persistent) return;
  const long long stamp = ListStamp(web->files.highscoreFile);
  if (stamp == web->lastListStamp) return;
  web->lastListStamp = stamp;
  EM_ASM(FS.syncfs(false, function(error) { if (error) console.error('tavi: storage', error); }););
}

void Ended(int status) {
  web->ended = true;
  emscripten_cancel_main_loop();
  EM_ASM(Module.taviEnded = true;);
  SyncWhenSaved();
  EM_ASM({ if (Module.onTaviEnded) Module.onTaviEnded($0, UTF8ToString($1), UTF8ToString($2)); }, status,
         web->options.trace.c_str(), web->files.highscoreFile.c_str());
}

// One animation frame: a paced run renders at most one frame; an unpaced one as many as fit
// into a few milliseconds, so the page stays responsive. Also the end of a wait for a deadline
// between two animation frames.
void AnimationFrame() {
  if (web->ended) return;
  const double until = emscripten_get_now() + 12;
  bool waited = false;
  for (;;) {
    const tavi::ProgramRun::Step step = web->run->Advance();
    if (step == tavi::ProgramRun::Step::Done) {
      Ended(web->run->Finish());
      return;
    }
    if (step == tavi::ProgramRun::Step::Waiting) {
      // After a short wait the frame is due now; after a longer one a timer steps again.
      if (waited) break;
      waited = true;
      continue;
    }
    if (step == tavi::ProgramRun::Step::Rendered && (web->run->Paced() || emscripten_get_now() > until)) break;
  }
  SyncWhenSaved();
}

}  // namespace

// A hidden tab gets no animation frames: its FocusLost is handled at once, so that a game pauses
// (and its sound holds) while the tab is hidden, not when it is shown again.
extern "C" EMSCRIPTEN_KEEPALIVE void TaviTakeEvents() {
  if (!web->run) return;
  tavi::ProgramRun::Step step;
  do {
    step = web->run->Advance();
  } while (step == tavi::ProgramRun::Step::Again);
  if (step == tavi::ProgramRun::Step::Done) Ended(web->run->Finish());
}

extern "C" EMSCRIPTEN_KEEPALIVE void TaviStart() {
  web->lastListStamp = ListStamp(web->files.highscoreFile);
  web->platform = tavi::CreateWebPlatform(AnimationFrame);
  web->run = std::make_unique<tavi::ProgramRun>(web->options, *web->platform, web->files);
  if (const std::optional<int> status = web->run->Start()) {
    Ended(*status);
    return;
  }
  emscripten_set_main_loop(AnimationFrame, 0, false);
  // Added after the platform's own listener, so the event is waiting when this one runs.
  EM_ASM(document.addEventListener('visibilitychange', function() {
    if (document.hidden && !Module.taviEnded) Module._TaviTakeEvents();
  }););
  // As fast as it goes: timers, which also run where no frame is drawn (a hidden or headless page).
  if (!web->run->Paced()) emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, 0);
}

int main(int argc, char** argv) {
  web = new WebRun;
  std::string error;
  if (!tavi::ParseOptions(argc, argv, web->options, error)) {
    std::fprintf(stderr, "tavi: %s\n", error.c_str());
    return 2;
  }
  web->options.headless = false;
  tavi::StartLanguage(web->options.language, "");  // the page passes --lang
  web->files.highscoreFile = "/data/Highscore.dat";
  web->files.errorFile.clear();  // errors go to the console
  // A test run (a demo, or a list handed in by the page) leaves the player's stored list alone.
  web->persistent = web->options.DemoFile().empty() && !EM_ASM_INT({ return Module.taviHighscoreBytes ? 1 : 0; });
  // The player's list is read from the browser's storage before the game starts.
  EM_ASM({
    FS.mkdirTree('/data');
    if ($0) {
      FS.mount(IDBFS, {}, '/data');
      FS.syncfs(true, function(error) {
        if (error) console.error('tavi: storage', error);
        Module._TaviStart();
      });
    } else {
      if (Module.taviHighscoreBytes) FS.writeFile('/data/Highscore.dat', Module.taviHighscoreBytes);
      setTimeout(function() { Module._TaviStart(); }, 0);
    }
  }, web->persistent);
  emscripten_exit_with_live_runtime();
  return 0;
}
