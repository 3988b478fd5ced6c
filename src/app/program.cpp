#include "app/program.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/bound_input.h"
#include "app/demo.h"
#include "app/game.h"
#include "app/menu_keys.h"
#include "app/mute.h"
#include "app/output_file.h"
#include "app/pacing.h"
#include "app/pause.h"
#include "base/dik.h"
#include "base/error_log.h"
#include "base/png_writer.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

namespace {

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
    if (!options.trace.empty()) trace_ = std::make_unique<OutputFile>(
          options.trace, ForCatalogue("Die Spur %s kann nicht geschrieben werden: %s"));
    for (const Screenshot& shot : options.screenshots) lastShot_ = std::max(lastShot_, shot.frame);
  }

  void AfterFrame(long long frame, const Game& game) {
    if (trace_) trace_->Print("%lld %s\n", frame, game.TraceState().c_str());
    for (const Screenshot& shot : options_.screenshots) {
      std::string error;
      if (shot.frame == frame && !WritePng(game.GetDisplay().BackBuffer(), shot.file, error)) {
        errors_.LogError(FillIn(Translate("Bildschirmfoto konnte nicht gespeichert werden: %s"), {error}));
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

struct ProgramRun::State {
  State(const Options& options, Platform& platform, const FilePaths& files)
      : options(options), platform(platform), input(platform, options.keys), files(files), clock(platform) {}

  const Options& options;
  Platform& platform;
  BoundInput input;  // the platform's events and keys with the player's bindings
  const FilePaths& files;
  Clock clock;
  std::unique_ptr<DemoPlayer> player;
  std::unique_ptr<DemoRecorder> recorder;
  std::unique_ptr<FramePacer> pacer;
  std::unique_ptr<Game> game;
  std::unique_ptr<FrameOutputs> outputs;
  std::unique_ptr<Pause> pause;
  std::unique_ptr<Mute> mute;
  bool paced = false;
  std::chrono::steady_clock::time_point started;
  long long frame = 0;
  KeySnapshot keySnapshot;  // kept from frame to frame: a failed read leaves the last one
};

ProgramRun::ProgramRun(const Options& options, Platform& platform, const FilePaths& files)
    : state_(std::make_unique<State>(options, platform, files)) {}

ProgramRun::~ProgramRun() = default;

std::optional<int> ProgramRun::Start() {
  State& s = *state_;
  if (!s.options.DemoFile().empty()) {
    Demo demo;
    std::string error;
    if (!LoadDemo(s.options.DemoFile(), demo, error)) {
      // Asked to play a demo, the program does nothing else: no game takes its place.
      WriteToStandardError("tavi: " + error);
      return 1;
    }
    s.player = std::make_unique<DemoPlayer>(std::move(demo));
  }

  if (!s.platform.CreateMainWindow()) {
    // The game cannot run without its window: why goes to the error log, the box says so as it
    // always did, and whoever started the game learns that it failed.
    const std::string why = s.platform.WindowFailure();
    ErrorLog(nullptr, s.files.errorFile, s.files.errorFileUtf8)
        .LogError(why.empty() ? Translate("Fenster konnte nicht erzeugt werden") : why);
    s.platform.ShowMessage(Translate("Fehler"), Translate("Fenster konnte nicht erzeugt werden"));
    return 1;
  }
  if (!s.clock.HasCounter()) {
    ErrorLog(&s.platform).ShowError(Translate("Performance Counter nicht vorhanden"));
  }
  s.pacer = std::make_unique<FramePacer>(s.clock.Frequency(), s.clock.Now());

  std::uint32_t seed = s.options.seed ? *s.options.seed : s.platform.TickCount();
  if (s.player && s.player->Seed()) seed = *s.player->Seed();

  KeySource& keys = s.player ? static_cast<KeySource&>(*s.player) : s.input;
  if (!s.options.record.empty()) {
    s.recorder = std::make_unique<DemoRecorder>(s.options.record, seed);
    WriteToStandardError("tavi: " + FillIn(Translate("Startwert %s"), {std::to_string(seed)}));
  }

  s.game = std::make_unique<Game>(s.platform, keys, s.files);
  s.game->Startup(seed);
  s.outputs = std::make_unique<FrameOutputs>(s.options, s.game->Errors());
  // A demo's keys and moves are its own: neither held keys nor menu keys are touched while one plays.
  const bool pauseOnFocusLoss = s.options.pauseOnFocusLoss && !s.options.headless;
  s.pause = std::make_unique<Pause>(s.platform, keys, s.game->Font(), pauseOnFocusLoss, !s.player);
  s.mute = std::make_unique<Mute>(s.platform, s.game->GetDisplay(), s.game->Font(), !s.player);

  // A timedemo and a headless run without a demo go as fast as they can.
  s.paced = s.options.timedemo.empty() && !(s.options.headless && s.options.demo.empty());
  s.started = std::chrono::steady_clock::now();
  return std::nullopt;
}

bool ProgramRun::Paced() const { return state_->paced; }

HighscoreTable& ProgramRun::Highscores() { return state_->game->Highscores(); }

void ProgramRun::SetKeyBindings(const KeyBindings& keys) { state_->input.SetBindings(keys); }

int ProgramRun::ShownScreen() const { return static_cast<int>(state_->game->Screens().CurrentScreen()); }

ProgramRun::Step ProgramRun::Advance() {
  State& s = *state_;
  Game& game = *s.game;
  Pause& pause = *s.pause;
  DemoPlayer* player = s.player.get();
  DemoRecorder* recorder = s.recorder.get();
  EventSource& events = player ? static_cast<EventSource&>(*player) : s.input;
  KeySource& keys = player ? static_cast<KeySource&>(*player) : s.input;
  if (game.QuitRequested()) return Step::Done;
  const bool pausable = game.Screens().Current().Pausable();

  if (player) player->BeginFrame(s.frame);
  if (recorder) recorder->SetFrame(s.frame);
  WindowEvent event;
  // While paused, a demo's events wait with its frames.
  if (!(player && pause.Active()) && events.PollEvent(event)) {
    if (event.type == WindowEventType::KeyPress) {
      // A menu key becomes the moves and clicks that are recorded; the press itself never is.
      if (event.key == Dik::F9) s.mute->Toggle();
      for (const WindowEvent& move : MenuKeyEvents(event, game.Screens())) {
        if (recorder) recorder->Event(move);
        game.HandleEvent(move);
      }
      return Step::Again;
    }
    if (!player && pause.Handle(event, s.keySnapshot, pausable)) return Step::Again;  // never recorded
    if (recorder) recorder->Event(event);
    game.HandleEvent(event);
    return Step::Again;
  }
  if (player) {
    // While a demo plays, the player can still close the window, pause and mute.
    while (s.input.PollEvent(event)) {
      if (event.type == WindowEventType::Close) {
        game.OnDestroy();
      } else if (event.type == WindowEventType::KeyPress) {
        if (event.key == Dik::F9) s.mute->Toggle();
      } else {
        pause.Handle(event, s.keySnapshot, pausable);
      }
    }
    if (game.QuitRequested()) return Step::Done;
  }
  if (pause.Active()) {  // no frame is counted; the frozen frame is shown again on every pass
    s.mute->Present();
    pause.Wait();
    return Step::Waiting;
  }
  if (s.paced) {
    const std::int64_t now = s.clock.Now();
    if (!s.pacer->Due(now)) {
      WaitForDeadline(s.platform, s.pacer->WaitMicroseconds(now));
      return Step::Waiting;
    }
    s.pacer->FrameStarted(now);
  }
  // The keys are read once per rendered frame, and only here (a pause renders none).
  s.input.SetTyping(game.Screens().Current().TypesName());
  if (ReadKeySnapshot(keys, s.keySnapshot)) {
    if (!player) s.keySnapshot.state[Dik::F9] = 0;  // the mute key is the loop's own
    pause.ReleaseHeldKeys(s.keySnapshot);
    if (recorder) recorder->Keys(s.keySnapshot);
  }
  game.RenderFrame(s.keySnapshot);
  s.mute->Present();
  s.outputs->AfterFrame(s.frame, game);
  ++s.frame;
  if (s.outputs->Finished(s.frame, player != nullptr)) {
    if (recorder) recorder->SetFrame(s.frame);
    game.OnDestroy();  // as if the window were closed
  }
  return Step::Rendered;
}

int ProgramRun::Finish() {
  State& s = *state_;
  // A trace, demo or screenshot that did not arrive whole makes the run a failure for its caller.
  const bool framesWritten = s.outputs->Close();
  const bool demoWritten = !s.recorder || s.recorder->Close();

  if (!s.options.timedemo.empty()) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - s.started).count();
    std::printf("timedemo: %lld frames in %.3f s, %.1f fps\n", s.frame, seconds,
                seconds > 0 ? static_cast<double>(s.frame) / seconds : 0.0);
  }
  return framesWritten && demoWritten ? 0 : 1;
}

int RunProgram(const Options& options, Platform& platform, const FilePaths& files) {
  ProgramRun run(options, platform, files);
  if (const std::optional<int> status = run.Start()) return *status;
  while (run.Advance() != ProgramRun::Step::Done) {
  }
  return run.Finish();
}

}  // namespace tavi
