// The instructions screen: the story and every object with its running animation.
#include "app/game.h"
#include "base/translate.h"

namespace tavi {

void Game::DrawInstructions() {
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
  demoDiver.Draw(800, 170, true);
  display.DrawGdiText(
      Translate("Das ist einer der bedrohten Fische. Du must ihn mit deinem Netz einfangen."), 50, 250);
  demoFish.Draw(800, 238, true);
  // "Giftmüllfass", "Zusammenstoß"
  display.DrawGdiText(
      Translate("Das ist ein Giftm\xFCllfass. Du solltest ihm umbedingt ausweichen, weil ein "
                "Zusammensto\xDF dich ein Leben kostet."),
      50, 350);
  demoPoisonBarrel.Draw(800, 305, true);
  display.DrawGdiText(
      Translate("Das ist ein altes, verrostetes Fass, das langsam auf den Boden sinkt. Besser ausweichen!"),
      50, 420);
  demoBarrel.Draw(800, 381, true);
  display.DrawGdiText(
      Translate("Das ist ein sehr gef\xE4hrlicher Hai. Er wird auf dich zuschwimmen und dich sofort "
                "fressen, wenn er dich erwischt!"),
      50, 490);
  demoShark.Draw(700, 461, true);
  display.DrawGdiText(
      Translate("Das ist ein einfacher Stein. Du solltest besser nicht gegen ihn schwimmen!"), 50, 600);
  demoStone.Draw(800, 569, true);

  backButton.Draw(display);
  selectionFrame.Draw(display);
  cursorPicture.Draw(display);
}

}  // namespace tavi
