#include "platform/fluid_music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/translate.h"

#ifndef TAVI_SOUNDFONT_FILE
#define TAVI_SOUNDFONT_FILE "/usr/share/sounds/sf2/TimGM6mb.sf2"
#endif

namespace tavi {

namespace {

// SDL_mixer sets FluidSynth's gain to 1.2 at full music volume; 100 % keeps that level.
constexpr double FullGain = 1.2;

}  // namespace

std::string ChooseSoundFonts() {
  const char* fromUser = std::getenv("SDL_SOUNDFONTS");
  if (fromUser != nullptr && *fromUser != '\0') {
    return fromUser;
  }
  std::error_code error;
  if (std::filesystem::exists(TAVI_SOUNDFONT_FILE, error)) {
    return TAVI_SOUNDFONT_FILE;
  }
  return "/usr/share/sounds/sf3/default-GM.sf3";
}

struct FluidMusicParts {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  std::vector<std::uint8_t> file;  // kept while the player lives, whether or not it took a copy
  int channels = 2;
  bool hooked = false;
  bool paused = false;  // unhooked by Pause: the player advances only while it renders

  ~FluidMusicParts() {
    if (player != nullptr) {
      fluid_player_stop(player);
      delete_fluid_player(player);
    }
    if (synth != nullptr) {
      delete_fluid_synth(synth);
    }
    if (settings != nullptr) {
      delete_fluid_settings(settings);
    }
  }

  // Runs on the audio thread: the music is the first thing in the buffer, the effects go on top.
  static void Mix(void* context, Uint8* stream, int bytes) {
    auto* parts = static_cast<FluidMusicParts*>(context);
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    const int frames = bytes / (2 * parts->channels);
    if (parts->channels >= 2) {
      std::memset(stream, 0, static_cast<std::size_t>(bytes));
      fluid_synth_write_s16(parts->synth, frames, samples, 0, parts->channels, samples, 1, parts->channels);
      return;
    }
    // A mono device hears both sides: rendered in pieces of 256 frames, then averaged.
    std::int16_t stereo[2 * 256];
    for (int done = 0; done < frames;) {
      const int now = frames - done < 256 ? frames - done : 256;
      fluid_synth_write_s16(parts->synth, now, stereo, 0, 2, stereo, 1, 2);
      for (int i = 0; i < now; ++i) {
        samples[done + i] = static_cast<std::int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
      }
      done += now;
    }
  }
};

bool FluidMusic::Load(const std::uint8_t* bytes, std::size_t size, const std::string& soundFonts,
                      std::string& reason) {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS) {
    reason = Translate("Mixer nicht im 16-Bit-Format ge\xF6" "ffnet");  // "Mixer nicht im 16-Bit-Format geöffnet"
    return false;
  }
  auto* parts = new FluidMusicParts;
  parts->channels = channels;
  parts->settings = new_fluid_settings();
  if (parts->settings != nullptr) {
    fluid_settings_setnum(parts->settings, "synth.sample-rate", rate);
    // The player's default sends a system reset between passes: the very cut this player avoids.
    fluid_settings_setint(parts->settings, "player.reset-synth", 0);
    parts->synth = new_fluid_synth(parts->settings);
  }
  if (parts->synth == nullptr) {
    reason = Translate("Der FluidSynth-Synthesizer kann nicht angelegt werden");
    delete parts;
    return false;
  }
  // As SDL_mixer did: every file of the list that opens is given to the synthesiser, and one is
  // enough, even when it holds no instrument (the music is then silent).
  int found = 0;
  std::string path;
  for (std::size_t at = 0; at <= soundFonts.size(); ++at) {
    if (at < soundFonts.size() && soundFonts[at] != ':' && soundFonts[at] != ';') {
      path += soundFonts[at];
      continue;
    }
    if (std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb")) {
      std::fclose(file);
      fluid_synth_sfload(parts->synth, path.c_str(), 1);
      ++found;
    }
    path.clear();
  }
  if (found == 0) {
    // What SDL_mixer reported here (its last resort, Timidity, has no configuration either), so
    // the game's log reads as it always did.
    reason = "Couldn't open timidity.cfg";
    delete parts;
    return false;
  }
  parts->file.assign(bytes, bytes + size);
  parts->player = new_fluid_player(parts->synth);
  if (parts->player == nullptr || fluid_player_add_mem(parts->player, parts->file.data(), size) != FLUID_OK) {
    reason = Translate("FluidSynth kann die Musik nicht aus dem Speicher laden");
    delete parts;
    return false;
  }
  fluid_player_set_loop(parts->player, -1);
  Free();
  parts_ = parts;
  ApplyGain();
  return true;
}

void FluidMusic::PlayForever() {
  if (parts_ == nullptr || parts_->hooked || parts_->paused) {
    return;
  }
  fluid_player_play(parts_->player);
  Mix_HookMusic(&FluidMusicParts::Mix, parts_);
  parts_->hooked = true;
}

void FluidMusic::Pause() {
  if (parts_ != nullptr && parts_->hooked) {
    Mix_HookMusic(nullptr, nullptr);
    parts_->hooked = false;
    parts_->paused = true;
  }
}

void FluidMusic::Resume() {
  if (parts_ != nullptr && parts_->paused) {
    Mix_HookMusic(&FluidMusicParts::Mix, parts_);
    parts_->hooked = true;
    parts_->paused = false;
  }
}

void FluidMusic::Free() {
  if (parts_ == nullptr) {
    return;
  }
  // Mix_HookMusic takes the audio lock: once it returns, the audio thread no longer renders.
  if (parts_->hooked) {
    Mix_HookMusic(nullptr, nullptr);
  }
  delete parts_;
  parts_ = nullptr;
}

void FluidMusic::SetVolume(int percent) {
  volume_ = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
  ApplyGain();
}

void FluidMusic::SetMuted(bool muted) {
  muted_ = muted;
  ApplyGain();
}

// The synthesiser's own calls are thread-safe; the music goes on in silence while muted.
void FluidMusic::ApplyGain() {
  if (parts_ != nullptr) {
    fluid_synth_set_gain(parts_->synth, muted_ ? 0.0f : static_cast<float>(FullGain * volume_ / 100));
  }
}

}  // namespace tavi
