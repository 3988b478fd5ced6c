#include "app/screens/instructions_screen.h"

#include "app/screens/screen_context.h"
#include "app/screens/screen_list.h"
#include "base/translate.h"
#include "graphics/display.h"

namespace tavi {

void InstructionAnimations::Load(Display& display) {
  for (auto [animation, sheet] : {std::pair{&diver, &media::DiverLevel}, {&fish, &media::Fish},
                                  {&poisonBarrel, &media::PoisonBarrel}, {&shark, &media::Shark},
                                  {&stone, &media::Stone}, {&barrel, &media::Barrel}}) {
    animation->Load(display, *sheet);
    animation->Restart(-1);
  }
}

void InstructionsScreen::Enter() { context_.ParkSelectionFrame(); }

void InstructionsScreen::MouseMove(int x, int y) {
  // Leaving the button leaves the frame in place (kept).
  if (Hits(media::BackButton, x, y)) context_.FrameAround(media::BackButton);
}

void InstructionsScreen::Click(int x, int y) {
  if (Hits(media::BackButton, x, y)) screens_.Show(GameScreen::Menu);
}

void InstructionsScreen::Escape() { screens_.Show(GameScreen::Menu); }

void InstructionsScreen::Draw() {
  Display& display = context_.display;
  // "gefährlichen"
  display.DrawGdiText(
      Translate("Du bist Tavi der Taucher und hast einen gef\xE4hrlichen Auftrag:"), 0, 0);
  display.DrawGdiText(
      Translate("Du sollst eine bedrohte Fischart, die nur noch in einem einzigen See vorkommt vor dem "
                "Aussterben bewahren. Dazu musst du sie mithilfe eines Netzes"),
      0, 32);
  // "bevölkert"
  display.DrawGdiText(
      Translate("einfangen. Aber Achtung, der See ist stark verschmutzt und wird zudem von Haien "
                "bev\xF6lkert. Dieser Auftrag wird bestimmt nicht einfach!"),
      0, 48);
  display.DrawGdiText(
      Translate("Das ist Tavi. Du steuerst ihn mit den Pfeiltasten und der Leertaste."), 50, 200);
  animations_.diver.Draw(800, 170, true);
  display.DrawGdiText(
      Translate("Das ist einer der bedrohten Fische. Du must ihn mit deinem Netz einfangen."), 50, 250);
  animations_.fish.Draw(800, 238, true);
  // "Giftmüllfass", "Zusammenstoß"
  display.DrawGdiText(
      Translate("Das ist ein Giftm\xFCllfass. Du solltest ihm umbedingt ausweichen, weil ein "
                "Zusammensto\xDF dich ein Leben kostet."),
      50, 350);
  animations_.poisonBarrel.Draw(800, 305, true);
  display.DrawGdiText(
      Translate("Das ist ein altes, verrostetes Fass, das langsam auf den Boden sinkt. Besser ausweichen!"),
      50, 420);
  animations_.barrel.Draw(800, 381, true);
  display.DrawGdiText(
      Translate("Das ist ein sehr gef\xE4hrlicher Hai. Er wird auf dich zuschwimmen und dich sofort "
                "fressen, wenn er dich erwischt!"),
      50, 490);
  animations_.shark.Draw(700, 461, true);
  display.DrawGdiText(
      Translate("Das ist ein einfacher Stein. Du solltest besser nicht gegen ihn schwimmen!"), 50, 600);
  animations_.stone.Draw(800, 569, true);

  context_.Draw(media::BackButton);
  context_.DrawFrameAndPointer();
}

}  // namespace tavi
