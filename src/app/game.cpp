#include "app/game.h"

#include <cinttypes>
#include <cstdio>

#include "game/game_frame.h"
#include "platform/platform.h"

namespace tavi {

namespace {

struct PictureSpec {
  Surface Game::*surface;
  const char* file;
  int width;
  int height;
  int x;
  int y;
  bool keyed;
};

// The still pictures in loading order (the band is loaded last, with the backdrop).
const PictureSpec Pictures[] = {
    {&Game::titlePicture, "media\\title.bmp", 440, 65, 292, 100, false},
    {&Game::cursorPicture, "media\\cursor.bmp", 32, 32, 512, 384, true},
    {&Game::newGameButton, "media\\newgame.bmp", 215, 49, 404, 250, false},
    {&Game::instructionsButton, "media\\anleitung.bmp", 215, 49, 404, 350, false},
    {&Game::highscoreButton, "media\\highscore.bmp", 215, 49, 404, 450, false},
    {&Game::endButton, "media\\ende.bmp", 215, 49, 404, 550, true},
    {&Game::clearButton, "media\\l\xF6schen.bmp", 198, 34, 413, 600, true},  // löschen
    {&Game::backButton, "media\\zurueck.bmp", 215, 49, 404, 700, true},
    {&Game::selectionFrame, "media\\auswahl.bmp", 224, 56, 400, 246, true},
};

struct DemoAnimationSpec {
  Animation Game::*animation;
  const char* file;
  int width;
  int height;
  int columns;
  int rows;
  std::uint32_t delay;
};

const DemoAnimationSpec DemoAnimations[] = {
    {&Game::demoDiver, "media\\taucher.bmp", 159, 180, 1, 3, 10},
    {&Game::demoFish, "media\\regenbogenfisch.bmp", 45, 72, 1, 3, 5},
    {&Game::demoPoisonBarrel, "media\\giftfa\xDF.bmp", 236, 91, 4, 1, 10},  // giftfaß
    {&Game::demoShark, "media\\hai.bmp", 315, 354, 1, 3, 5},
    {&Game::demoStone, "media\\stein.bmp", 204, 63, 3, 1, 12},
    {&Game::demoBarrel, "media\\fa\xDF.bmp", 184, 78, 2, 1, 8},  // faß
};

const char* const EffectFiles[] = {"media\\fisch.wav", "media\\fa\xDF.wav", "media\\next.wav",  // faß
                                   "media\\stein.wav", "media\\hai.wav"};

}  // namespace

Game::Game(Platform& platformIn, KeySource& keys)
    : platform(platformIn),
      errorLog(&platformIn),
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
      highscores(errorLog),
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
  for (const char* file : EffectFiles) sound.AddSound(file);
  sound.AddBackgroundMusic("media\\background.mid");
  sound.PlayBackgroundMusic();

  for (const PictureSpec& p : Pictures) {
    (this->*p.surface).Load(display, p.file, p.width, p.height, p.x, p.y, p.keyed);
  }
  backdrop.LoadBand(display);

  diver.Init(display);
  for (const DemoAnimationSpec& a : DemoAnimations) {
    Animation& animation = this->*a.animation;
    animation.Load(display, a.file, a.width, a.height, a.columns, a.rows, a.delay, ColourKeyBlue);
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
