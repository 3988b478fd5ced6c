#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/frame_size.h"
#include "base/translate.h"
#include "platform/boot_clock.h"
#include "platform/console_message.h"
#include "platform/gamepads.h"
#include "platform/headless_platform.h"
#include "platform/layout_keys.h"
#include "platform/null_audio.h"
#include "platform/platform.h"
#include "platform/precise_sleep.h"
#include "platform/scancodes.h"
#include "platform/sdl_window_mode.h"
#include "platform/stop_signals.h"
#include "platform/typed_keys.h"
#include "platform/video_start.h"
#include "platform/window_icon.h"

namespace tavi {

namespace {

// How long before a frame's deadline the wait pumps SDL's events (see WaitEvent).
constexpr std::int64_t WarmUpNanoseconds = 50000;


bool IsLeftButtonPress(const SDL_Event& event) {
  return event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT;
}

bool InsideFrame(int x, int y) { return x >= 0 && x < FrameWidth && y >= 0 && y < FrameHeight; }

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const PlatformOptions& options)
      : startFullScreen_(!options.window), scaling_(options.scaling), vsync_(options.vsync),
        windowSize_(options.windowSize), fullScreen_(!options.window) {
    // A click that brings the window to the front also counts, as it does on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // TERM, INT and HUP all arrive through our own handlers (stop_signals.h), not SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Video alone: a missing audio driver must not take the window with it.
    videoReady_ = StartVideo(windowFailure_);
    if (options.sound) {
      audio_ = CreateMixerAudio();
    } else {
      audio_ = std::make_unique<NullAudio>(tavi::Translate("Ton abgeschaltet"), true);
    }
    audio_->SetMusicVolume(options.musicVolume);
    audio_->SetEffectVolume(options.effectVolume);
    audio_->SetMuted(options.muted);
  }

  ~SdlPlatform() override {
    audio_->Close();
    DestroyMainWindow();
    if (videoReady_) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
  }

  bool PollEvent(WindowEvent& event) override {
    if (window_ != nullptr && TakeStopSignal() && ReportClose(event)) {
      return true;
    }
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent) != 0) {
      const std::uint8_t padPress = gamepads_.Handle(sdlEvent, window_ != nullptr ? SDL_GetWindowID(window_) : 0);
      // Once the window is gone, whatever is left in the queue is dropped.
      if (window_ != nullptr && padPress != 0) {
        event = {WindowEventType::KeyPress, 0, 0, padPress, false, true};
        return true;
      }
      if (window_ != nullptr && Translate(sdlEvent, event)) {
        return true;
      }
    }
    return false;
  }

  bool ReadKeys(std::uint8_t (&state)[256]) override {
    if (window_ == nullptr || SDL_GetKeyboardFocus() != window_) {
      return false;
    }
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    HideAltReturn(keys);
    std::memset(state, 0, sizeof state);
    for (int scancode = 0; scancode < count; ++scancode) {
      if (keys[scancode] != 0 && scancode != hiddenScancode_) {
        std::uint8_t dik = LayoutDik(scancode);
        if (typing_ && dik != 0) {
          dik = typedKeys_.Code(DikFromSdlScancode(scancode), dik);
        }
        if (dik != 0) {
          state[dik] = 0x80;
        }
      }
    }
    return true;
  }

  void AddPadKeys(std::uint8_t (&state)[256]) override { gamepads_.AddHeldKeys(state, !typing_); }

  std::int64_t CounterFrequency() override {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
  }
  std::int64_t Counter() override { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }
  std::uint32_t TickCount() override { return MillisecondsSinceBoot(); }

  void WaitEvent(std::int64_t timeoutMicroseconds) override {
    if (timeoutMicroseconds <= 0) {
      return;
    }
    const std::int64_t deadline = DeadlineAfter(timeoutMicroseconds);
    // SDL waits in whole milliseconds and wakes late: it waits for events only until shortly
    // before the deadline, the rest is slept precisely, so frames start on time.
    const int milliseconds = static_cast<int>((timeoutMicroseconds - 1500) / 1000);
    if (window_ != nullptr && milliseconds > 0 && SDL_WaitEventTimeout(nullptr, milliseconds) == 1) {
      return;  // a null event leaves the waking event in the queue for PollEvent
    }
    // The loop polls for events before it checks the deadline; after a sleep that poll takes
    // several microseconds more than when warm, each one making the frame late: pump once just
    // before the deadline, so that the poll after it is quick.
    sleeper_.SleepUntil(deadline - WarmUpNanoseconds);
    SDL_PumpEvents();
    sleeper_.SleepUntil(deadline);
  }

  bool CreateMainWindow() override {
    if (window_ != nullptr) {
      return true;
    }
    if (!videoReady_) {
      return false;
    }
    const std::string title = Cp1252ToUtf8(tavi::Translate("Tavi der Taucher"));
    window_ = CreateGameWindow(title.c_str(), startFullScreen_, windowSize_);
    if (window_ == nullptr) {
      windowFailure_ = DescribeWindowFailure();
      return false;
    }
    SetWindowIconFromMedia(window_);
    fullScreen_ = startFullScreen_;
    SDL_GetWindowSize(window_, &shownSize_.width, &shownSize_.height);
    closeReported_ = false;
    // Names are read from the key snapshot; an input method must not swallow keys.
    SDL_StopTextInput();
    return true;
  }

  void DestroyMainWindow() override {
    WindowedSize();  // kept for the settings written at exit
    ReleaseDisplay();
    if (window_ != nullptr) {
      SDL_DestroyWindow(window_);
      window_ = nullptr;
    }
  }

  std::string WindowFailure() const override { return windowFailure_; }

  void HideSystemCursor() override { SDL_ShowCursor(SDL_DISABLE); }

  DisplayInit InitDisplay() override {
    if (texture_ != nullptr) {
      return DisplayInit::Ok;
    }
    if (window_ == nullptr) {
      return DisplayInit::DeviceFailed;
    }
    if (renderer_ == nullptr) {
      renderer_ = SDL_CreateRenderer(window_, -1,
                                     SDL_RENDERER_ACCELERATED | (vsync_ ? SDL_RENDERER_PRESENTVSYNC : 0));
      if (renderer_ == nullptr) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
      }
      if (renderer_ == nullptr) {
        WriteToStandardError(FillIn(tavi::Translate("Der SDL-Renderer kann nicht angelegt werden: %s"), {SDL_GetError()}));
        return DisplayInit::DeviceFailed;
      }
    }
    // Letterboxed with the aspect kept, in a window of any size and on any desktop.
    if (!SetUpScaling(renderer_, scaling_, FrameWidth, FrameHeight)) {
      WriteToStandardError(FillIn(tavi::Translate("Die SDL-Skalierung kann nicht eingestellt werden: %s"), {SDL_GetError()}));
      return DisplayInit::ModeFailed;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 FrameWidth, FrameHeight);
    if (texture_ == nullptr) {
      WriteToStandardError(FillIn(tavi::Translate("Die SDL-Textur kann nicht angelegt werden: %s"), {SDL_GetError()}));
      return DisplayInit::PrimaryFailed;
    }
    // Our pixels carry no alpha: the byte is zero and must be ignored.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    return DisplayInit::Ok;
  }

  void ReleaseDisplay() override {
    if (texture_ != nullptr) {
      SDL_DestroyTexture(texture_);
      texture_ = nullptr;
    }
    if (renderer_ != nullptr) {
      SDL_DestroyRenderer(renderer_);
      renderer_ = nullptr;
    }
  }

  void Present(const Image& frame) override {
    if (texture_ == nullptr || frame.Width() != FrameWidth || frame.Height() != FrameHeight) {
      return;
    }
    SDL_UpdateTexture(texture_, nullptr, frame.Pixels().data(), FrameWidth * static_cast<int>(sizeof(Pixel)));
    SDL_RenderClear(renderer_);  // the letterbox bars
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  WindowSize WindowedSize() override {
    WindowSize now;
    if (window_ != nullptr && !fullScreen_) {
      SDL_GetWindowSize(window_, &now.width, &now.height);
      // Only a size the player gave the window is remembered, not the one it was fitted to.
      if (now.width != shownSize_.width || now.height != shownSize_.height) windowSize_ = shownSize_ = now;
    }
    return windowSize_;
  }

  bool FullScreen() override { return fullScreen_; }

  bool ReadTextFont(std::size_t maxBytes, std::string& bytes, std::string& error) override {
    return ReadTextFontFile(maxBytes, bytes, error);
  }

  bool ReadMedia(const std::string& mediaName, std::size_t maxBytes, std::string& bytes,
                 std::string& error) override {
    return ReadMediaFile(mediaName, maxBytes, bytes, error);
  }

  void ShowMessage(const std::string& caption, const std::string& text) override {
    // The dummy drivers have no screen, yet SDL would still try X11 for the box and block a test;
    // without a display there is no box to show either.
    const bool screenless = !videoReady_ || DriverWithoutScreen(SDL_GetCurrentVideoDriver()) ||
                            DriverWithoutScreen(std::getenv("SDL_VIDEODRIVER"));
    if (screenless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Cp1252ToUtf8(caption).c_str(),
                                               Cp1252ToUtf8(text).c_str(), window_) != 0) {
      WriteMessageToConsole(caption, text);
    }
  }

  bool MediaExists(const std::string& mediaName) const override { return MediaFileExists(mediaName); }
  AudioDevice& Audio() override { return *audio_; }

  // While a name is typed, SDL reports the text each key makes (in the layout, with Shift, AltGr,
  // Caps Lock and dead keys); an input method may then take keys, so only while a name is typed.
  void SetTyping(bool typing) override {
    if (typing == typing_) {
      return;
    }
    typing_ = typing;
    typedKeys_.Clear();
    lastKeyDown_ = 0;
    if (typing) {
      SDL_StartTextInput();
    } else {
      SDL_StopTextInput();
    }
  }

 private:
  // Turns an SDL event into one of ours; false for events the game does not see.
  bool Translate(const SDL_Event& sdlEvent, WindowEvent& event) {
    switch (sdlEvent.type) {
      case SDL_MOUSEMOTION:
        // Positions over the letterbox bars are pulled to the nearest frame edge.
        event = {WindowEventType::MouseMove, Clamp(sdlEvent.motion.x, 0, FrameWidth - 1),
                 Clamp(sdlEvent.motion.y, 0, FrameHeight - 1)};
        return true;
      case SDL_MOUSEBUTTONDOWN:
        if (!IsLeftButtonPress(sdlEvent) || !InsideFrame(sdlEvent.button.x, sdlEvent.button.y)) {
          return false;  // other buttons, and clicks on the bars
        }
        // Every second press of quick clicks is a double click, which the game ignores.
        event = {sdlEvent.button.clicks % 2 == 0 ? WindowEventType::LeftDoubleClick
                                                 : WindowEventType::LeftButtonDown,
                 sdlEvent.button.x, sdlEvent.button.y};
        return true;
      case SDL_KEYDOWN:
        return TranslateKeyDown(sdlEvent.key, event);
      case SDL_KEYUP:
        typedKeys_.Released(DikFromSdlScancode(sdlEvent.key.keysym.scancode));
        return false;
      case SDL_TEXTINPUT:
        // The text follows the key-down that made it.
        if (typing_ && lastKeyDown_ != 0) {
          typedKeys_.Typed(lastKeyDown_, sdlEvent.text.text);
          lastKeyDown_ = 0;
        }
        return false;
      case SDL_WINDOWEVENT:
        if (sdlEvent.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            sdlEvent.window.event == SDL_WINDOWEVENT_MINIMIZED) {
          event = {WindowEventType::FocusLost, 0, 0};
          return true;
        }
        return sdlEvent.window.event == SDL_WINDOWEVENT_CLOSE && ReportClose(event);
      case SDL_QUIT:
        return ReportClose(event);
      case SDL_RENDER_DEVICE_RESET:
        RecreateTexture();
        return false;
      default:
        return false;
    }
  }

  // The Return of Alt+Return belongs to the window: it stays out of the key snapshot while Alt is
  // held and until it is released (the key event hides it too, for an Alt let go first). Its
  // release is judged by the keyboard state, not by key-up events: the focus changes of a
  // full-screen switch make SDL release and press the held keys again, Return before Alt.
  void HideAltReturn(const Uint8* keys) {
    const bool alt = keys[SDL_SCANCODE_LALT] != 0 || keys[SDL_SCANCODE_RALT] != 0;
    for (const SDL_Scancode enter : {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}) {
      if (alt && keys[enter] != 0) hiddenScancode_ = enter;
    }
    if (hiddenScancode_ >= 0 && keys[hiddenScancode_] == 0) hiddenScancode_ = -1;
  }

  bool TranslateKeyDown(const SDL_KeyboardEvent& key, WindowEvent& event) {
    const SDL_Scancode scancode = key.keysym.scancode;
    lastKeyDown_ = DikFromSdlScancode(scancode);
    if ((key.keysym.mod & KMOD_ALT) != 0 &&
        (scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER)) {
      if (key.repeat == 0) {
        ToggleFullScreen();
      }
      // The Return of Alt+Return must not confirm a name on the name-entry screen.
      hiddenScancode_ = scancode;
      return false;
    }
    if (key.repeat != 0) {
      return false;  // a key held down is one press: a held Esc ends a game, not the program too
    }
    if (scancode == SDL_SCANCODE_ESCAPE || key.keysym.sym == SDLK_ESCAPE) {
      event = {WindowEventType::EscapeDown, 0, 0};
      return true;
    }
    if (scancode == SDL_SCANCODE_PAUSE) {
      event = {WindowEventType::PauseKey, 0, 0};
      return true;
    }
    // Every other press as the code it puts into the snapshot: the keyboard menus take their
    // presses from here, so that a key pressed and let go within one frame still counts. P as
    // the layout types it is the pause letter.
    const std::uint8_t code = LayoutDik(scancode);
    if (key.keysym.sym == SDLK_p) {
      event = {WindowEventType::PauseLetter, 0, 0, code, (key.keysym.mod & KMOD_SHIFT) != 0};
      return true;
    }
    if (code == 0) {
      return false;
    }
    event = {WindowEventType::KeyPress, 0, 0, code, (key.keysym.mod & KMOD_SHIFT) != 0};
    return true;
  }

  bool ReportClose(WindowEvent& event) {
    // The close button brings both a window event and SDL_QUIT; the game hears it once.
    if (closeReported_) {
      return false;
    }
    closeReported_ = true;
    event = {WindowEventType::Close, 0, 0};
    return true;
  }

  // The graphics driver lost its textures; the next Present fills the new one.
  void RecreateTexture() {
    if (texture_ != nullptr) {
      SDL_DestroyTexture(texture_);
      texture_ = nullptr;
      InitDisplay();
    }
  }

  void ToggleFullScreen() {
    if (fullScreen_) {
      fullScreen_ = !LeaveFullScreen(window_, windowSize_);
      if (!fullScreen_) SDL_GetWindowSize(window_, &shownSize_.width, &shownSize_.height);
    } else {
      WindowedSize();  // the size to come back to
      fullScreen_ = EnterFullScreen(window_);
    }
  }

  bool videoReady_ = false;
  std::string windowFailure_;  // why there is no window, once that is known
  bool startFullScreen_ = true;
  Scaling scaling_ = Scaling::Smooth;
  bool vsync_ = true;
  WindowSize windowSize_;  // in windowed mode, kept over full screen
  bool fullScreen_ = false;
  WindowSize shownSize_;   // the size the game gave the window, fitted to the display
  bool closeReported_ = false;
  bool typing_ = false;  // on the name-entry screen
  TypedKeys typedKeys_;
  std::uint8_t lastKeyDown_ = 0;  // physical code of the last key-down, until its text came
  int hiddenScancode_ = -1;  // held since Alt+Return, left out of the key snapshot
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::unique_ptr<AudioDevice> audio_;
  Gamepads gamepads_;
  PreciseSleeper sleeper_;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options) {
  InstallStopSignals();
  if (options.headless) {
    return CreateHeadlessPlatform();
  }
  return std::make_unique<SdlPlatform>(options);
}

}  // namespace tavi
