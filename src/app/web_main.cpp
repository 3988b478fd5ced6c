// tavi in a browser: the page passes its options as arguments, the browser's animation frames
// drive the program one frame at a time.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/file_paths.h"
#include "app/language.h"
#include "app/options.h"
#include "app/program.h"
#include "app/settings_save.h"
#include "app/web_list_file.h"
#include "app/web_settings.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "highscore/highscore_table.h"
#include "platform/platform.h"

// Stores the list's changes in the browser's storage, between frames. Other tabs with the game store
// there too: under the storage's lock (Web Locks, where the page has them) the stored list is read
// again and the changes of this tab are applied to it, as the desktop game saves under its file
// lock. Calls TaviListStored with the number of changes stored, or -1.
EM_JS(void, WebStoreList, (const char* file), {
  const path = UTF8ToString(file);
  const store = () => new Promise(done => {
    const finish = count => {
      try { Module._TaviListStored(count); } finally { done(); }  // the lock is never kept
    };
    try {
      // The copy of this tab's last save may be older than what another tab stored since.
      try { FS.unlink(path); } catch (missing) {}
      FS.syncfs(true, error => {
        if (error) { console.error('tavi: storage', error); return finish(-1); }
        const count = Module._TaviMergeList();
        if (count < 0) return finish(-1);
        FS.syncfs(false, error => {
          if (error) console.error('tavi: storage', error);
          finish(error ? -1 : count);
        });
      });
    } catch (error) {
      console.error('tavi: storage', error);
      finish(-1);
    }
  });
  // Without the lock (an old browser, a page without a secure origin) the store goes on unlocked,
  // as the desktop game's save does where the file system has no locks.
  if (navigator.locks) navigator.locks.request('tavi-highscore', store).catch(store);
  else store();
});

namespace {

struct WebRun {
  tavi::Options options;
  tavi::FilePaths files;
  std::unique_ptr<tavi::Platform> platform;
  std::unique_ptr<tavi::ProgramRun> run;
  bool persistent = false;  // the list lives in the browser's storage (not while a demo plays)
  bool storing = false;     // a store of the list is under way
  std::size_t failedWith = 0;  // changes kept when the last store failed: tried again when more come
  bool ended = false;
  bool liveTrace = false;  // the trace of live play goes to the page as frames are played
  int shownScreen = -1;    // as the page was last told
  tavi::SettingsFile settings;  // the page's tavi.ini; the defaults for a test run
};

WebRun* web = nullptr;

void AnimationFrame();

// Starts a store when the list has changes that are not stored and none is under way.
void StoreList() {
  if (!web->persistent || web->storing) return;
  const std::size_t unsaved = web->run->Highscores().UnsavedChanges();
  if (unsaved == 0 || unsaved == web->failedWith) return;
  web->storing = true;
  WebStoreList(web->files.highscoreFile.c_str());
}

void Ended(int status) {
  web->ended = true;
  emscripten_cancel_main_loop();
  EM_ASM(Module.taviEnded = true;);
  web->failedWith = 0;  // a last try
  StoreList();
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
  bool rendered = false;
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
    if (step == tavi::ProgramRun::Step::Rendered) {
      if (!web->run->Paced()) {
        rendered = true;
        if (emscripten_get_now() > until) break;
        continue;
      }
      rendered = true;
      break;
    }
  }
  if (rendered && web->run->ShownScreen() != web->shownScreen) {
    web->shownScreen = web->run->ShownScreen();
    EM_ASM({ if (Module.onTaviScreen) Module.onTaviScreen($0); }, web->shownScreen);
  }
  if (rendered && web->liveTrace) {
    std::fflush(nullptr);  // the trace's lines so far, for the page to read
    EM_ASM(if (Module.onTaviTraced) Module.onTaviTraced(););
  }
  StoreList();
  tavi::RememberWebMute();
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
  if (step == tavi::ProgramRun::Step::Done) {
    Ended(web->run->Finish());
  } else {
    StoreList();
  }
}

// The stored list has been read again: this tab's changes go onto it. The number of changes
// written, or -1.
extern "C" EMSCRIPTEN_KEEPALIVE int TaviMergeList() {
  tavi::HighscoreTable& list = web->run->Highscores();
  const std::size_t count = list.UnsavedChanges();
  return list.SaveDeferred() ? static_cast<int>(count) : -1;
}

extern "C" EMSCRIPTEN_KEEPALIVE void TaviListStored(int count) {
  web->storing = false;
  tavi::HighscoreTable& list = web->run->Highscores();
  if (count >= 0) {
    list.ForgetSaved(static_cast<std::size_t>(count));
    web->failedWith = 0;
  } else {
    web->failedWith = list.UnsavedChanges();
  }
  StoreList();  // changes made meanwhile
}

extern "C" EMSCRIPTEN_KEEPALIVE void TaviStart() {
  web->platform = tavi::CreateWebPlatform(AnimationFrame);
  web->run = std::make_unique<tavi::ProgramRun>(web->options, *web->platform, web->files);
  if (const std::optional<int> status = web->run->Start()) {
    web->persistent = false;  // no game, no list
    Ended(*status);
    return;
  }
  if (web->persistent) {
    web->run->Highscores().DeferSaves();
    tavi::AttachWebSettings(web->settings, *web->platform, *web->run);
    tavi::AttachWebList(web->run->Highscores());
  }
  emscripten_set_main_loop(AnimationFrame, 0, false);
  // Added after the platform's own listener, so the event is waiting when this one runs.
  EM_ASM(document.addEventListener('visibilitychange', function() {
    if (document.hidden && !Module.taviEnded) Module._TaviTakeEvents();
  }););
  // As fast as it goes: timers, which also run where no frame is drawn (a hidden or headless page).
  if (!web->run->Paced()) emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, 0);
  // The first frame at once, not at the next animation frame: the browser shows it with that one.
  AnimationFrame();
}

int main(int argc, char** argv) {
  web = new WebRun;
  std::string error;
  if (!tavi::ParseOptions(argc, argv, web->options, error)) {
    tavi::StartLanguage(web->options.language, "");
    tavi::ParseOptions(argc, argv, web->options, error);  // again, for the error in that language
    std::fprintf(stderr, "tavi: %s\n", tavi::Cp1252ToUtf8(error).c_str());
    EM_ASM({ if (Module.onTaviEnded) Module.onTaviEnded($0, "", ""); }, 2);  // the page shows the error
    return 2;
  }
  web->options.headless = false;
  web->files.highscoreFile = "/data/Highscore.dat";
  web->files.errorFile.clear();  // errors go to the console
  web->liveTrace = !web->options.trace.empty() && web->options.DemoFile().empty();
  // A test run (a demo, or a list handed in by the page) leaves the player's stored list alone and
  // ignores the player's settings.
  web->persistent = web->options.DemoFile().empty() && !EM_ASM_INT({ return Module.taviHighscoreBytes ? 1 : 0; });
  if (web->persistent) web->settings = tavi::ReadWebSettings();
  web->options.pauseOnFocusLoss = web->settings.values.pauseOnFocusLoss;
  // --lang (the page's lang parameter, or a test run's) wins over the file, as on the desktop.
  tavi::StartLanguage(web->options.language, web->settings.values.language);
  if (web->persistent) {
    tavi::ErrorLog console(nullptr, "");
    tavi::ReportSettings(web->settings, console);
  }
  // The player's list is read from the browser's storage before the game starts. The page may
  // have begun reading it while the module was made ready (Module.taviStorageRead).
  EM_ASM({
    const read = Module.taviStorageRead || Promise.resolve(false);
    if ($0) {
      read.then(mounted => new Promise(done => {
        if (mounted) return done();
        FS.mkdirTree('/data');
        FS.mount(IDBFS, {}, '/data');
        FS.syncfs(true, function(error) {
          if (error) console.error('tavi: storage', error);
          done();
        });
      })).then(() => Module._TaviStart());
    } else {
      read.then(mounted => {
        if (mounted) FS.unmount('/data');  // this run leaves the stored list alone
        FS.mkdirTree('/data');
        if (Module.taviHighscoreBytes) FS.writeFile('/data/Highscore.dat', Module.taviHighscoreBytes);
        Module._TaviStart();
      });
    }
  }, web->persistent);
  emscripten_exit_with_live_runtime();
  return 0;
}
