#include "app/game.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

#include "base/media_manifest.h"
#include "game/game_frame.h"
#include "platform/platform.h"

namespace tavi {

namespace {

// The still pictures in loading order (the band is loaded last, with the backdrop).
const std::pair<Surface Game::*, const media::Picture*> Pictures[] = {
    {&Game::titlePicture, &media::Title},
    {&Game::cursorPicture, &media::Cursor},
    {&Game::newGameButton, &media::NewGameButton},
    {&Game::instructionsButton, &media::InstructionsButton},
    {&Game::highscoreButton, &media::HighscoreButton},
    {&Game::endButton, &media::EndButton},
    {&Game::clearButton, &media::ClearButton},
    {&Game::backButton, &media::BackButton},
    {&Game::selectionFrame, &media::SelectionFrame},
};

const std::pair<Animation Game::*, const media::Picture*> DemoAnimations[] = {
    {&Game::demoDiver, &media::DiverLevel}, {&Game::demoFish, &media::Fish},
    {&Game::demoPoisonBarrel, &media::PoisonBarrel}, {&Game::demoShark, &media::Shark},
    {&Game::demoStone, &media::Stone}, {&Game::demoBarrel, &media::Barrel},
};

}  // namespace

Game::Game(Platform& platformIn, KeySource& keys, const FilePaths& files)
    : platform(platformIn),
      errorLog(&platformIn, files.errorFile, files.errorFileUtf8),
      display(platformIn, errorLog),
      keySource(keys),
      sound(platformIn, platformIn.Audio(), errorLog),
      font(display),
      diver(keyboard, sound, font),
      groups{{{random, sound},
              {random, sound},
              {random, sound},
              {random, sound},
              {random, sound},
              {random, sound},
              {random, sound}}},
      highscores(errorLog, files.highscoreFile),
      nameEntry(keyboard) {}

ObjectGroups Game::GroupPointers() {
  ObjectGroups pointers{};
  for (int k = 0; k < ObjectKindCount; ++k) pointers[k] = &groups[k];
  return pointers;
}

void Game::Startup(std::uint32_t seed) {
  random.Seed(seed);
  display.InitDisplay();
  keyboard.Init(&keySource, errorLog);
  platform.HideSystemCursor();
  backdrop.LoadSand(display);

  sound.Init();
  for (const media::Sound* effect : media::Effects) sound.AddSound(effect->file);
  sound.AddBackgroundMusic(media::Music.file);
  sound.PlayBackgroundMusic();

  for (const auto& [surface, p] : Pictures) {
    (this->*surface).Load(display, p->file, p->width, p->height, p->x, p->y, p->Keyed());
  }
  backdrop.LoadBand(display);

  diver.Init(display);
  for (const auto& [member, sheet] : DemoAnimations) {
    Animation& animation = this->*member;
    animation.Load(display, *sheet);
    animation.Restart(-1);
  }
  for (int k = 0; k < ObjectKindCount; ++k) {
    groups[k].Init(display, static_cast<ObjectKind>(k + 1), diver);
  }
  highscores.Load();
}

void Game::RenderFrame(const KeySnapshot& keys) {
  keyboard.SetKeys(keys);
  display.ClearBackBuffer();
  backdrop.DrawBackgroundBand(display);
  backdrop.DrawSandStrip(display);
  switch (currentScreen) {
    case GameScreen::Menu:
      DrawMenu();
      break;
    case GameScreen::Game:
      RunGameFrame(diver, GroupPointers(), random, [this] { EndGame(); });
      break;
    case GameScreen::Highscore:
      DrawHighscoreScreen();
      break;
    case GameScreen::NewHighscore:
      DrawNewHighscoreScreen();
      break;
    case GameScreen::Instructions:
      DrawInstructions();
      break;
  }
}

std::string Game::TraceState() const {
  std::string line;
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%d %d %d %d %d %d %d", static_cast<int>(currentScreen),
                diver.score, diver.lives, diver.x, diver.y, static_cast<int>(diver.pose),
                diver.eatenCountdown);
  line = buffer;
  for (const ObjectGroup& group : groups) {
    long long sumX = 0;
    long long sumY = 0;
    for (const ObjectInstance& o : group.Instances()) {
      sumX += o.x;
      sumY += o.y;
    }
    std::snprintf(buffer, sizeof buffer, " %zu:%lld:%lld", group.Instances().size(), sumX, sumY);
    line += buffer;
  }
  line += " \"" + nameEntry.EnteredName + "\"";
  return line;
}

}  // namespace tavi
