#include "platform/headless_platform.h"

#include <chrono>
#include <cstring>

#include "base/translate.h"
#include "platform/boot_clock.h"
#include "platform/console_message.h"
#include "platform/null_audio.h"
#include "platform/precise_sleep.h"
#include "platform/stop_signals.h"

namespace tavi {

namespace {

using Clock = std::chrono::steady_clock;

class HeadlessPlatform : public Platform {
 public:
  // Nothing happens without a window but a stop signal, which closes it.
  bool PollEvent(WindowEvent& event) override {
    if (!TakeStopSignal()) return false;
    event = {WindowEventType::Close, 0, 0};
    return true;
  }

  bool ReadKeys(std::uint8_t (&state)[256]) override {
    std::memset(state, 0, sizeof state);
    return true;
  }

  std::int64_t CounterFrequency() override { return 1000000000; }

  std::int64_t Counter() override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
  }

  std::uint32_t TickCount() override { return MillisecondsSinceBoot(); }

  void WaitEvent(std::int64_t timeoutMicroseconds) override {
    if (timeoutMicroseconds > 0) {
      sleeper_.SleepUntil(DeadlineAfter(timeoutMicroseconds));
    }
  }

  bool CreateMainWindow() override { return true; }
  void DestroyMainWindow() override {}
  void HideSystemCursor() override {}

  DisplayInit InitDisplay() override { return DisplayInit::Ok; }
  void ReleaseDisplay() override {}
  void Present(const Image&) override {}

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
  AudioDevice& Audio() override { return audio_; }

 private:
  NullAudio audio_{Translate("kein Audioger\xE4t (headless)"), true};  // "kein Audiogerät (headless)"
  PreciseSleeper sleeper_;
};

}  // namespace

std::unique_ptr<Platform> CreateHeadlessPlatform() { return std::make_unique<HeadlessPlatform>(); }

}  // namespace tavi
