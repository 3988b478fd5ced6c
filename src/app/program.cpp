#include "app/program.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/demo.h"
#include "app/game.h"
#include "app/menu_keys.h"
#include "app/output_file.h"
#include "app/pacing.h"
#include "app/pause.h"
#include "base/png_writer.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

namespace {

// Without a performance counter the millisecond tick count paces the frames.
class Clock {
 public:
  explicit Clock(Platform& platform) : platform_(platform), frequency_(platform.CounterFrequency()) {}
  bool HasCounter() const { return frequency_ > 0; }
  std::int64_t Frequency() const { return HasCounter() ? frequency_ : 1000; }
  std::int64_t Now() const { return HasCounter() ? platform_.Counter() : platform_.TickCount(); }

 private:
  Platform& platform_;
  std::int64_t frequency_;
};

void Dispatch(Game& game, const WindowEvent& event) {
  switch (event.type) {
    case WindowEventType::MouseMove:
      game.OnMouseMove(event.x, event.y);
      break;
    case WindowEventType::LeftButtonDown:
      game.OnLeftButtonDown(event.x, event.y);
      break;
    case WindowEventType::LeftDoubleClick:
      break;  // the second press of a double click does nothing
    case WindowEventType::EscapeDown:
      game.OnEscape();
      break;
    case WindowEventType::Close:
      game.OnDestroy();
      break;
    case WindowEventType::PauseKey:
    case WindowEventType::PauseLetter:
    case WindowEventType::FocusLost:
      break;  // the loop's own
  }
}

// Blocks until the deadline or an event; the busy-wait build spins as the original loop did.
void WaitForDeadline(Platform& platform, std::int64_t microseconds) {
#ifdef TAVI_BUSY_WAIT
  (void)platform;
  (void)microseconds;
#else
  platform.WaitEvent(microseconds);
#endif
}

// Where the frames go besides the screen: the trace, screenshots, the frame limit.
class FrameOutputs {
 public:
  FrameOutputs(const Options& options, ErrorLog& errors) : options_(options), errors_(errors) {
    if (!options.trace.empty()) trace_ = std::make_unique<OutputFile>(options.trace, "the trace");
    for (const Screenshot& shot : options.screenshots) lastShot_ = std::max(lastShot_, shot.frame);
  }

  void AfterFrame(long long frame, const Game& game) {
    if (trace_) trace_->Print("%lld %s\n", frame, game.TraceState().c_str());
    for (const Screenshot& shot : options_.screenshots) {
      std::string error;
      if (shot.frame == frame && !WritePng(game.display.BackBuffer(), shot.file, error)) {
        errors_.LogError(Translate("Bildschirmfoto konnte nicht gespeichert werden: ") + error);
        shotFailed_ = true;
      }
    }
  }

  // Closes the trace; false when a screenshot or any of the trace was not written.
  bool Close() {
    const bool traceWritten = !trace_ || trace_->Close();
    return traceWritten && !shotFailed_;
  }

  // Headless with nothing to play and no frame limit, nobody could close the window: the
  // program ends after the last screenshot.
  bool Finished(long long framesRendered, bool playingDemo) const {
    if (options_.frames && framesRendered >= *options_.frames) return true;
    return options_.headless && !playingDemo && !options_.frames && framesRendered > lastShot_;
  }

 private:
  const Options& options_;
  ErrorLog& errors_;
  std::unique_ptr<OutputFile> trace_;
  long long lastShot_ = 0;
  bool shotFailed_ = false;
};

}  // namespace

int RunProgram(const Options& options, Platform& platform, const FilePaths& files) {
  std::unique_ptr<DemoPlayer> player;
  if (!options.DemoFile().empty()) {
    Demo demo;
    std::string error;
    if (!LoadDemo(options.DemoFile(), demo, error)) {
      // Asked to play a demo, the program does nothing else: no game takes its place.
      std::fprintf(stderr, "tavi: %s\n", error.c_str());
      return 1;
    }
    player = std::make_unique<DemoPlayer>(std::move(demo));
  }

  if (!platform.CreateMainWindow()) {
    platform.ShowMessage(Translate("Fehler"), Translate("Fenster konnte nicht erzeugt werden"));
    return 0;
  }
  Clock clock(platform);
  if (!clock.HasCounter()) {
    ErrorLog(&platform).ShowError(Translate("Performance Counter nicht vorhanden"));
  }
  FramePacer pacer(clock.Frequency(), clock.Now());

  std::uint32_t seed = options.seed ? *options.seed : platform.TickCount();
  if (player && player->Seed()) seed = *player->Seed();

  KeySource& keys = player ? static_cast<KeySource&>(*player) : platform;
  std::unique_ptr<DemoRecorder> recorder;
  if (!options.record.empty()) {
    recorder = std::make_unique<DemoRecorder>(options.record, seed);
    std::fprintf(stderr, "tavi: seed %u\n", seed);
  }
  EventSource& events = player ? static_cast<EventSource&>(*player) : platform;

  auto game = std::make_unique<Game>(platform, keys, files);
  game->Startup(seed);
  FrameOutputs outputs(options, game->errorLog);
  // A demo's keys and moves are its own: neither held keys nor menu keys are touched while one plays.
  Pause pause(*game, options.pauseOnFocusLoss && !options.headless, !player);
  MenuKeys menuKeys;

  // A timedemo and a headless run without a demo go as fast as they can.
  const bool paced = options.timedemo.empty() && !(options.headless && options.demo.empty());
  const auto started = std::chrono::steady_clock::now();
  long long frame = 0;
  KeySnapshot keySnapshot;  // kept from frame to frame: a failed read leaves the last one
  while (!game->QuitRequested()) {
    if (player) player->BeginFrame(frame);
    if (recorder) recorder->SetFrame(frame);
    WindowEvent event;
    // While paused, a demo's events wait with its frames.
    if (!(player && pause.Active()) && events.PollEvent(event)) {
      if (!player && pause.Handle(event, keySnapshot)) continue;  // never recorded
      if (recorder) recorder->Event(event);
      Dispatch(*game, event);
      continue;
    }
    if (player) {
      // While a demo plays, the player can still close the window.
      while (platform.PollEvent(event)) {
        if (event.type == WindowEventType::Close) {
          game->OnDestroy();
        } else {
          pause.Handle(event, keySnapshot);
        }
      }
      if (game->QuitRequested()) break;
    }
    if (pause.Active()) {  // no frame is counted
      pause.Wait();
      continue;
    }
    if (paced) {
      const std::int64_t now = clock.Now();
      if (!pacer.Due(now)) {
        WaitForDeadline(platform, pacer.WaitMicroseconds(now));
        continue;
      }
      pacer.FrameStarted(now);
    }
    // The keys are read once per rendered frame, and only here (a pause renders none).
    platform.SetTyping(game->CurrentScreen() == GameScreen::NewHighscore);
    if (ReadKeySnapshot(keys, keySnapshot)) {
      pause.ReleaseHeldKeys(keySnapshot);
      if (recorder) recorder->Keys(keySnapshot);
    }
    if (!player) {
      for (const WindowEvent& keyEvent : menuKeys.Translate(keySnapshot, *game)) {
        if (recorder) recorder->Event(keyEvent);
        Dispatch(*game, keyEvent);
      }
      if (game->QuitRequested()) break;  // "Ende" chosen
    }
    game->RenderFrame(keySnapshot);
    game->display.FlipDisplay();
    outputs.AfterFrame(frame, *game);
    ++frame;
    if (outputs.Finished(frame, player != nullptr)) {
      if (recorder) recorder->SetFrame(frame);
      game->OnDestroy();  // as if the window were closed
    }
  }
  // A trace, demo or screenshot that did not arrive whole makes the run a failure for its caller.
  const bool framesWritten = outputs.Close();
  const bool demoWritten = !recorder || recorder->Close();

  if (!options.timedemo.empty()) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("timedemo: %lld frames in %.3f s, %.1f fps\n", frame, seconds,
                seconds > 0 ? static_cast<double>(frame) / seconds : 0.0);
  }
  return framesWritten && demoWritten ? 0 : 1;
}

}  // namespace tavi
