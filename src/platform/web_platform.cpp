#include "platform/platform.h"

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <vector>

#include "base/dik.h"
#include "base/frame_size.h"
#include "platform/console_message.h"
#include "platform/typed_keys.h"
#include "platform/web_audio.h"
#include "platform/web_gamepads.h"
#include "platform/web_keys.h"
#include "platform/web_present.h"

namespace tavi {

namespace {

constexpr std::int64_t FrameMicroseconds = 1000000 / 60;
// A timer may fire this late without making its frame late: browsers run timers late behind their
// own work (0.3 ms was too little).
constexpr std::int64_t TimerSlackMicroseconds = 1000;
constexpr std::int64_t SpinMicroseconds = TimerSlackMicroseconds + 1000;

// A key event's `key` is the character the key made, or the key's name ("Shift", "Enter").
bool OneCharacter(const char* text) {
  int characters = 0;
  for (const char* c = text; *c != '\0'; ++c) characters += (*c & 0xC0) != 0x80;  // UTF-8 lead bytes
  return characters == 1;
}

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(void (*step)()) : step_(step) {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, OnKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, OnKeyUp);
    emscripten_set_mousemove_callback("#canvas", this, true, OnMouseMove);
    emscripten_set_mousedown_callback("#canvas", this, true, OnMouseDown);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, true, OnBlur);
    emscripten_set_visibilitychange_callback(this, true, OnVisibility);
  }

  bool PollEvent(WindowEvent& event) override {
    if (events_.empty()) gamepads_.Look(events_);
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
  }

  bool ReadKeys(std::uint8_t (&state)[256]) override {
    ReadHeldKeys(state);
    // The page's touch controls let go of a tapped key only once the game has seen it.
    EM_ASM(if (Module.onTaviKeysRead) Module.onTaviKeysRead(););
    return true;
  }

  // A pad's directions stand aside while a name is typed.
  void AddPadKeys(std::uint8_t (&state)[256]) override { gamepads_.AddHeldKeys(state, !typing_); }

  // Microseconds of the page's clock.
  std::int64_t CounterFrequency() override { return 1000000; }
  std::int64_t Counter() override { return static_cast<std::int64_t>(emscripten_get_now() * 1000.0); }
  std::uint32_t TickCount() override { return static_cast<std::uint32_t>(emscripten_get_now()); }
  // The browser cannot block, and an animation frame comes about one frame time after the last,
  // often a little before the deadline: waiting for the next one would lose most of a frame each
  // time. So a short wait is spun on the clock and the page steps on at once, and a longer one
  // within a frame time ends with a timer armed in an animation frame (a hidden page gets none).
  void WaitEvent(std::int64_t timeout) override {
    if (timeout <= SpinMicroseconds) {
      const std::int64_t end = Counter() + timeout;
      while (Counter() <= end) {
      }
      return;
    }
    if (timeout > FrameMicroseconds || timerPending_ || inTimer_) return;
    timerPending_ = true;
    // Timers count whole milliseconds and come late, never early: the rest is spun when it fires.
    const double delay = std::floor(static_cast<double>(timeout - TimerSlackMicroseconds) / 1000);
    emscripten_set_timeout(OnTimer, delay, this);
  }

  bool CreateMainWindow() override { return true; }
  void DestroyMainWindow() override { events_.clear(); }
  void HideSystemCursor() override {}

  DisplayInit InitDisplay() override { return DisplayInit::Ok; }
  void ReleaseDisplay() override {}

  void Present(const Image& frame) override {
    presenter_.Present(frame);
    audio_->FeedMusic();  // the time to the next frame's deadline is longest now
  }

  bool ReadTextFont(std::size_t maxBytes, std::string& bytes, std::string& error) override {
    return ReadTextFontFile(maxBytes, bytes, error);
  }

  bool ReadMedia(const std::string& mediaName, std::size_t maxBytes, std::string& bytes,
                 std::string& error) override {
    return ReadMediaFile(mediaName, maxBytes, bytes, error);
  }

  void ShowMessage(const std::string& caption, const std::string& text) override {
    WriteMessageToConsole(caption, text);
  }

  bool MediaExists(const std::string& mediaName) const override { return MediaFileExists(mediaName); }
  AudioDevice& Audio() override { return *audio_; }

  void SetTyping(bool typing) override {
    if (typing != typing_) {
      typedKeys_.Clear();
      // The page offers the device's keyboard and an Enter while a name is typed.
      EM_ASM({ if (Module.onTaviTyping) Module.onTaviTyping($0 !== 0); }, typing);
    }
    typing_ = typing;
  }


 private:
  // The keyboard's keys, or while a name is typed what they typed.
  void ReadHeldKeys(std::uint8_t (&state)[256]) {
    if (!typing_) {
      std::memcpy(state, held_, sizeof state);
      return;
    }
    std::memset(state, 0, sizeof state);
    for (int physical = 1; physical < 256; ++physical) {
      if (held_[physical] == 0) continue;
      const std::uint8_t code = typedKeys_.Code(static_cast<std::uint8_t>(physical), static_cast<std::uint8_t>(physical));
      if (code != 0) state[code] = 0x80;
    }
  }

  static EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* key, void* data) {
    auto& self = *static_cast<WebPlatform*>(data);
    const std::uint8_t dik = DikFromKeyCode(key->code);
    if (dik == 0) return false;
    self.held_[dik] = 0x80;
    if (self.typing_ && OneCharacter(key->key)) self.typedKeys_.Typed(dik, key->key);
    if (!key->repeat) self.events_.push_back(Press(dik, *key));  // a key held down is one press
    // The browser keeps its own keys for reloading, full screen and its tools.
    const bool browserKey = dik == Dik::F5 || dik == Dik::F11 || dik == Dik::F12 || key->ctrlKey || key->metaKey;
    return !browserKey;
  }

  static WindowEvent Press(std::uint8_t dik, const EmscriptenKeyboardEvent& key) {
    if (dik == Dik::Escape) return {WindowEventType::EscapeDown, 0, 0};
    if (dik == Dik::Pause) return {WindowEventType::PauseKey, 0, 0};
    if (std::strcmp(key.key, "p") == 0 || std::strcmp(key.key, "P") == 0) return {WindowEventType::PauseLetter, 0, 0, dik, key.shiftKey != 0};
    return {WindowEventType::KeyPress, 0, 0, dik, key.shiftKey != 0};
  }

  static EM_BOOL OnKeyUp(int, const EmscriptenKeyboardEvent* key, void* data) {
    auto& self = *static_cast<WebPlatform*>(data);
    const std::uint8_t dik = DikFromKeyCode(key->code);
    self.held_[dik] = 0;
    self.typedKeys_.Released(dik);
    return dik != 0;
  }

  // The canvas is shown at any size: back to frame coordinates.
  static bool FramePoint(const EmscriptenMouseEvent* mouse, int& x, int& y) {
    double cssWidth = 0;
    double cssHeight = 0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    if (cssWidth <= 0 || cssHeight <= 0) return false;
    x = static_cast<int>(std::floor(mouse->targetX * FrameWidth / cssWidth));
    y = static_cast<int>(std::floor(mouse->targetY * FrameHeight / cssHeight));
    return x >= 0 && x < FrameWidth && y >= 0 && y < FrameHeight;
  }

  static EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* mouse, void* data) {
    int x = 0;
    int y = 0;
    if (FramePoint(mouse, x, y)) static_cast<WebPlatform*>(data)->events_.push_back({WindowEventType::MouseMove, x, y});
    return true;
  }

  static EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent* mouse, void* data) {
    auto& self = *static_cast<WebPlatform*>(data);
    int x = 0;
    int y = 0;
    if (mouse->button != 0 || !FramePoint(mouse, x, y)) return true;
    // Quick presses near each other count on; every second one is a double click.
    const double now = emscripten_get_now();
    const bool near = std::abs(x - self.lastClickX_) <= 4 && std::abs(y - self.lastClickY_) <= 4;
    self.clicks_ = now - self.lastClickTime_ < 500 && near ? self.clicks_ + 1 : 1;
    self.lastClickTime_ = now;
    self.lastClickX_ = x;
    self.lastClickY_ = y;
    self.events_.push_back({self.clicks_ % 2 == 0 ? WindowEventType::LeftDoubleClick : WindowEventType::LeftButtonDown, x, y});
    return true;
  }

  static EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* data) {
    auto& self = *static_cast<WebPlatform*>(data);
    std::memset(self.held_, 0, sizeof self.held_);  // their key-ups go elsewhere
    self.events_.push_back({WindowEventType::FocusLost, 0, 0});
    return false;
  }

  static EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* change, void* data) {
    if (change->hidden) static_cast<WebPlatform*>(data)->events_.push_back({WindowEventType::FocusLost, 0, 0});
    return false;
  }

  static void OnTimer(void* data) {
    auto& self = *static_cast<WebPlatform*>(data);
    self.timerPending_ = false;
    self.inTimer_ = true;  // only an animation frame arms the next timer
    self.step_();
    self.inTimer_ = false;
  }

  void (*step_)();
  bool timerPending_ = false;
  bool inTimer_ = false;
  std::deque<WindowEvent> events_;
  std::uint8_t held_[256] = {};  // by the keys' places on the keyboard
  bool typing_ = false;
  TypedKeys typedKeys_;
  WebGamepads gamepads_;
  WebPresenter presenter_;
  int clicks_ = 0;
  double lastClickTime_ = -1000;
  int lastClickX_ = -100;
  int lastClickY_ = -100;
  std::unique_ptr<WebAudioDevice> audio_ = CreateWebAudio();
};

}  // namespace

std::unique_ptr<Platform> CreateWebPlatform(void (*step)()) { return std::make_unique<WebPlatform>(step); }

}  // namespace tavi
