#include "graphics/display.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/error_log.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace tavi {

Display::Display(Platform& platform, ErrorLog& errorLog)
    : platform_(platform), errorLog_(errorLog), backBuffer_(FrameWidth, FrameHeight, ColourKeyBlue) {}

bool Display::InitDisplay() {
  switch (platform_.InitDisplay()) {
    case DisplayInit::Ok:
      ready_ = true;
      return true;
    case DisplayInit::DeviceFailed:
      return errorLog_.ShowError(Translate("Fehler beim Anlegen des DirectDraw-Objekts"));
    case DisplayInit::ModeFailed:
      return errorLog_.ShowError(Translate("Fehler beim Setzen des Kooperationsebene"));
    case DisplayInit::PrimaryFailed:
      return errorLog_.ShowError(Translate("Fehler beim Anlegen der prim\xE4ren Oberfl\xE4" "che"));  // primären Oberfläche
    case DisplayInit::BufferFailed:
      return errorLog_.ShowError(Translate("Fehler beim Anlegen des Puffers"));
  }
  return false;
}

void Display::ReleaseDisplay() {
  if (!ready_) return;
  platform_.ReleaseDisplay();
  ready_ = false;
}

void Display::ClearBackBuffer() { backBuffer_.Fill(ColourKeyBlue); }

void Display::FlipDisplay() {
  if (ready_) platform_.Present(backBuffer_);
}

void Display::DrawGdiText(const std::string& text, int x, int y) {
  // Every character but the invisible soft hyphen is wider than a pixel, so those past the
  // frame's width in pixels cannot reach it: a text of any length costs at most a line's worth.
  const auto reach = static_cast<std::size_t>(std::max<std::int64_t>(0, FrameWidth - std::int64_t{x}));
  if (text.size() > reach) return DrawGdiText(text.substr(0, reach), x, y);
  constexpr Pixel cyan = 0x00FFFF;
  if (!fontTried_) OpenFont();
  // Without a font no text can ever be drawn; one box says so, not one per frame.
  if (!text_.HasFont()) {
    if (!textFailureShown_) errorLog_.ShowError(Translate("DC ist nicht verf\xFC" "gbar"));  // verfügbar
    textFailureShown_ = true;
    return;
  }
  text_.Draw(backBuffer_, text, x, y, cyan);
}

void Display::OpenFont() {
  fontTried_ = true;
  std::string bytes;
  std::string error;
  if (!platform_.ReadTextFont(TextRasteriser::MaxFontBytes, bytes, error)) {
    WriteToStandardError(FillIn(Translate("Die Schrift der Texte kann nicht geladen werden: %s"), {error}));
  } else if (!text_.UseFont(std::move(bytes))) {
    WriteToStandardError(Translate("Die Schrift der Texte kann nicht geladen werden: Die Datei ist keine TrueType-Schrift."));
  }
}

}  // namespace tavi
