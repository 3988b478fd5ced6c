#pragma once

// The seam between the game and the machine. Nothing here includes SDL: the game sees only its
// own small types. The platform gives the bytes of media files and of the font, events and the
// key state, the clock and the wait, the window and presenting a finished frame, a message box
// and audio; pictures are decoded, text is rasterised and key bindings are applied above it.
// Three implementations: sdl_platform.cpp on SDL2; headless_platform.cpp without any window or
// audio device, for tests, benchmarks and --headless; web_platform.cpp in a browser page.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/frame_size.h"
#include "base/image.h"
#include "base/message_sink.h"

namespace tavi {

// The four window messages the game handles, plus the window being closed. The last four are
// for the loop alone: the game never sees them and demos never hold them. A key held down
// sends no second press: its auto-repeats are no events.
enum class WindowEventType {
  MouseMove,        // pointer moved to (x, y) in frame coordinates
  LeftButtonDown,   // left button pressed at (x, y)
  LeftDoubleClick,  // second press of a double click at (x, y); the game ignores it
  EscapeDown,       // Escape pressed
  Close,            // the window manager or Alt+F4 closes the window
  PauseKey,         // the Pause key pressed
  PauseLetter,      // P pressed: a pause in a game, a letter on the name-entry screen
  FocusLost,        // the window lost the keyboard focus or was minimised
  KeyPress,         // any other key pressed: `key` is the code it puts into the key snapshot
};

// Key presses come raw: the player's key bindings are applied above the platform (app/bound_input.h).

struct WindowEvent {
  WindowEventType type = WindowEventType::MouseMove;
  int x = 0;
  int y = 0;
  std::uint8_t key = 0;  // KeyPress, PauseLetter: the key's snapshot code
  bool shift = false;    // KeyPress: Shift was held
  bool fromPad = false;  // KeyPress: a game controller's, already the game's own code
};

// Something that delivers window events (the real event pump or a demo).
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Takes the next waiting event; false when none is waiting.
  virtual bool PollEvent(WindowEvent& event) = 0;
};

// Something that fills a 256-byte key snapshot indexed by DirectInput scan code (nonzero = down).
class KeySource {
 public:
  virtual ~KeySource() = default;
  // False when the keyboard cannot be read now (for instance the window has no focus); the
  // snapshot is then left as it was.
  virtual bool ReadKeys(std::uint8_t (&state)[256]) = 0;
};

struct WindowSize {
  int width = FrameWidth;
  int height = FrameHeight;
};

// The window sizes the game opens, remembers and reads back: up to what a display can show.
constexpr WindowSize MinWindowSize{320, 240};
constexpr WindowSize MaxWindowSize{7680, 7680};

// How the frame is scaled to the window: filtered, nearest neighbour, or nearest neighbour in
// whole multiples only. The aspect is always kept, with black bars.
enum class Scaling { Smooth, Sharp, SharpInteger };

// What InitDisplay reached; each failure maps to one of the display's messages.
enum class DisplayInit { Ok, DeviceFailed, ModeFailed, PrimaryFailed, BufferFailed };

// Effects and music: SDL_mixer on the desktop, Web Audio in the browser, or nothing at all.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Opens the device; false (and a reason) when there is none.
  virtual bool Open(std::string& reason) = 0;
  // True when there is no sound because the player chose so (--nosound, --headless): no failure.
  virtual bool SilenceChosen() const { return false; }
  // Loads a wave file by media name; returns a handle >= 0, or -1 when it cannot be loaded.
  virtual int LoadEffect(const std::string& mediaName) = 0;
  // Loads the MIDI music by media name; false (and a reason) when it cannot be loaded.
  virtual bool LoadMusic(const std::string& mediaName, std::string& reason) = 0;
  // Starts an effect on top of whatever sounds; never cuts off another effect unless all
  // channels are busy, then the oldest gives way.
  virtual void PlayEffect(int handle) = 0;
  // Starts the loaded music, repeating without end.
  virtual void PlayMusicForever() = 0;
  // Levels from 0 (silent) to 100 (full, the default); kept while the device is closed.
  virtual void SetMusicVolume(int percent) = 0;
  virtual void SetEffectVolume(int percent) = 0;
  // Mutes all sound, music and effects alike; the volumes stay as they are. A muted music plays
  // on in silence, so it comes back where it would be.
  virtual void SetMuted(bool muted) = 0;
  virtual bool Muted() const = 0;
  // Holds every effect and the music where they are, and lets them go on.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual void Close() = 0;
};

class Platform : public EventSource, public KeySource, public MessageSink {
 public:
  ~Platform() override = default;

  // Clock: a high-resolution counter (0 frequency when there is none) and a millisecond tick.
  virtual std::int64_t CounterFrequency() = 0;
  virtual std::int64_t Counter() = 0;
  virtual std::uint32_t TickCount() = 0;
  // Blocks until an event arrives or the timeout (in microseconds) passes.
  virtual void WaitEvent(std::int64_t timeoutMicroseconds) = 0;

  // The one window. False when it cannot be created (no display at all, for one).
  virtual bool CreateMainWindow() = 0;
  // After CreateMainWindow failed: why, one line for the error log in the player's language
  // (Windows-1252); empty when the platform cannot tell.
  virtual std::string WindowFailure() const { return {}; }
  // Destroys the window; the event source then reports nothing more.
  virtual void DestroyMainWindow() = 0;
  virtual void HideSystemCursor() = 0;

  // Display: a FrameWidth x FrameHeight frame presented letterboxed full screen or in a window.
  virtual DisplayInit InitDisplay() = 0;
  virtual void ReleaseDisplay() = 0;
  virtual void Present(const Image& frame) = 0;
  // The window's size in windowed mode: the current one, or in full screen the size Alt+Enter
  // returns to. Platforms without a window report the frame size.
  virtual WindowSize WindowedSize() { return {FrameWidth, FrameHeight}; }
  // Whether the window is in full screen (when it is gone: was at the end; before it opens: will be).
  virtual bool FullScreen() { return false; }

  // The bytes of a media file by media name ("media\\name.bmp"), read whole when it is a regular
  // file of at most `maxBytes`. False when it is not, `bytes` then untouched and `error`
  // (Windows-1252) naming the file and what is wrong.
  virtual bool ReadMedia(const std::string& mediaName, std::size_t maxBytes, std::string& bytes,
                         std::string& error) = 0;

  // The bytes of the TrueType font the texts are drawn in (DejaVu Sans), read as ReadMedia reads a
  // media file.
  virtual bool ReadTextFont(std::size_t maxBytes, std::string& bytes, std::string& error) = 0;

  // A modal message (caption and text in Windows-1252); standard error where there is no display.
  void ShowMessage(const std::string& caption, const std::string& text) override = 0;

  // Whether a media file (by its media name) is there, wherever the platform looks for media.
  virtual bool MediaExists(const std::string& mediaName) const = 0;

  virtual AudioDevice& Audio() = 0;

  // True while a name is typed: a pad's directions then stand aside, and a key goes into the
  // snapshot as the character it typed (see typed_keys.h).
  virtual void SetTyping(bool /*typing*/) {}
  // Marks what game controllers hold in a key snapshot, as the game's own codes: the net button,
  // and the directions unless a name is typed. Nothing where there are none.
  virtual void AddPadKeys(std::uint8_t (& /*state*/)[256]) {}
};

struct PlatformOptions {
  bool window = false;   // a window instead of desktop full screen
  bool headless = false; // no window and no audio device
  bool sound = true;     // false: play silent
  WindowSize windowSize; // of the window, at the start and after leaving full screen
  Scaling scaling = Scaling::Smooth;
  bool vsync = true;     // presents wait for the display's refresh
  int musicVolume = 100; // 0 to 100
  int effectVolume = 100;
  bool muted = false;    // all sound off (F9) from the start
};

std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options);

// The platform in a browser (the web build only): the page's canvas with the id "canvas", its
// keys, mouse and visibility, text in the page's font, sound through Web Audio. `step` is called
// when a wait for a frame's deadline ends between two animation frames.
std::unique_ptr<Platform> CreateWebPlatform(void (*step)());

// The SDL_mixer audio device on its own (the platform's Audio() when sound is on); used by tests
// that render sound through SDL's disk audio driver.
std::unique_ptr<AudioDevice> CreateMixerAudio();

// Maps a media name to a path on disk: backslash to slash, Windows-1252 to UTF-8, looked up in the
// working directory, then beside the executable, then in the installed data directory. Returns the
// first existing path, or the working-directory path when none exists.
std::string ResolveMediaPath(const std::string& mediaName);

// ReadMedia for a platform whose media are files: the file ResolveMediaPath finds, read with the
// bounded reader of base/file_read.h.
bool ReadMediaFile(const std::string& mediaName, std::size_t maxBytes, std::string& bytes, std::string& error);

// ReadTextFont for a platform whose font is a file: the system's DejaVu Sans, or in the browser
// the copy in the page's files.
bool ReadTextFontFile(std::size_t maxBytes, std::string& bytes, std::string& error);

// Whether ResolveMediaPath finds the file.
bool MediaFileExists(const std::string& mediaName);

}  // namespace tavi
