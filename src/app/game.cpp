#include "app/game.h"

#include <cinttypes>
#include <cstdio>

#include "base/media_manifest.h"
#include "platform/platform.h"

namespace tavi {

Game::Game(Platform& platform, KeySource& keys, const FilePaths& files)
    : platform_(platform),
      errorLog_(&platform, files.errorFile, files.errorFileUtf8),
      display_(platform, errorLog_),
      keySource_(keys),
      sound_(platform, platform.Audio(), errorLog_),
      font_(display_),
      context_(display_, font_, backdrop_),
      diver_(keyboard_, sound_, font_),
      groups_{{{random_, sound_},
               {random_, sound_},
               {random_, sound_},
               {random_, sound_},
               {random_, sound_},
               {random_, sound_},
               {random_, sound_}}},
      highscores_(errorLog_, files.highscoreFile),
      nameEntry_(keyboard_),
      screens_(context_, {diver_, Groups(), random_, highscores_, nameEntry_, keyboard_, animations_},
               [this] { OnDestroy(); }) {}

ObjectGroups Game::Groups() {
  ObjectGroups pointers{};
  for (int k = 0; k < ObjectKindCount; ++k) pointers[k] = &groups_[k];
  return pointers;
}

void Game::Startup(std::uint32_t seed) {
  random_.Seed(seed);
  display_.InitDisplay();
  keyboard_.Init(&keySource_, errorLog_);
  platform_.HideSystemCursor();
  backdrop_.LoadSand(display_);

  sound_.Init();
  for (const media::Sound* effect : media::Effects) sound_.AddSound(effect->file);
  sound_.AddBackgroundMusic(media::Music.file);
  sound_.PlayBackgroundMusic();

  context_.LoadPictures();
  backdrop_.LoadBand(display_);

  diver_.Init(display_);
  animations_.Load(display_);
  for (int k = 0; k < ObjectKindCount; ++k) {
    groups_[k].Init(display_, static_cast<ObjectKind>(k + 1), diver_);
  }
  highscores_.Load();
}

void Game::RenderFrame(const KeySnapshot& keys) {
  keyboard_.SetKeys(keys);
  screens_.Frame();
}

void Game::HandleEvent(const WindowEvent& event) {
  switch (event.type) {
    case WindowEventType::MouseMove:
      screens_.MouseMove(event.x, event.y);
      break;
    case WindowEventType::LeftButtonDown:
      screens_.Click(event.x, event.y);
      break;
    case WindowEventType::LeftDoubleClick:
      break;  // the second press of a double click does nothing
    case WindowEventType::EscapeDown:
      screens_.Escape();
      break;
    case WindowEventType::Close:
      OnDestroy();
      break;
    case WindowEventType::PauseKey:
    case WindowEventType::PauseLetter:
    case WindowEventType::FocusLost:
    case WindowEventType::KeyPress:
      break;  // the loop's own
  }
}

void Game::OnDestroy() {
  if (quit_) return;
  display_.ReleaseDisplay();
  keyboard_.Release();
  platform_.DestroyMainWindow();
  quit_ = true;
}

std::string Game::TraceState() const {
  std::string line;
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%d %d %d %d %d %d %d", static_cast<int>(screens_.CurrentScreen()),
                diver_.score, diver_.lives, diver_.x, diver_.y, static_cast<int>(diver_.pose),
                diver_.eatenCountdown);
  line = buffer;
  for (const ObjectGroup& group : groups_) {
    long long sumX = 0;
    long long sumY = 0;
    for (const ObjectInstance& o : group.Instances()) {
      sumX += o.x;
      sumY += o.y;
    }
    std::snprintf(buffer, sizeof buffer, " %zu:%lld:%lld", group.Instances().size(), sumX, sumY);
    line += buffer;
  }
  line += " \"" + nameEntry_.EnteredName + "\"";
  return line;
}

}  // namespace tavi
