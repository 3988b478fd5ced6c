#include "platform/video_start.h"

#include <SDL.h>

#include <cstdlib>
#include <sstream>

#include "base/cp1252.h"
#include "base/translate.h"

namespace tavi {

namespace {

// An environment variable that is set and not empty (SDL and Xlib treat empty as unset), else null.
const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Whether SDL_VIDEODRIVER, a comma-separated list as SDL reads it, names the driver.
bool AskedForByName(const char* driver) {
  const char* wanted = Variable("SDL_VIDEODRIVER");
  std::istringstream list(wanted != nullptr ? wanted : "");
  for (std::string name; std::getline(list, name, ',');) {
    if (SDL_strcasecmp(name.c_str(), driver) == 0) return true;
  }
  return false;
}

// The translated sentence with its one %s replaced by `value` (UTF-8, from the environment or SDL).
std::string WithValue(const char* german, const std::string& value) {
  std::string text = Translate(german);
  const std::size_t at = text.find("%s");
  return at == std::string::npos ? text : text.replace(at, 2, Utf8ToCp1252(value));
}

std::string NoDisplayReason() {
  if (const char* drivers = Variable("SDL_VIDEODRIVER")) {
    return WithValue(ForCatalogue("Das Spiel kann keinen Bildschirm \xF6" "ffnen: Der Videotreiber "  // öffnen
                                  "SDL_VIDEODRIVER=%s startet nicht."),
                     drivers);
  }
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (const char* display = Variable(variable)) {
      return WithValue(ForCatalogue("Das Spiel kann keinen Bildschirm \xF6" "ffnen: Die Anzeige %s "  // öffnen
                                    "antwortet nicht oder weist das Spiel ab."),
                       std::string(variable) + "=" + display);
    }
  }
  return Translate("Das Spiel kann keinen Bildschirm \xF6" "ffnen: Weder DISPLAY noch WAYLAND_DISPLAY "  // öffnen
                   "ist gesetzt.");
}

}  // namespace

bool DriverWithoutScreen(const char* driver) {
  for (const char* name : {"dummy", "offscreen", "evdev"}) {
    if (driver != nullptr && SDL_strcasecmp(driver, name) == 0) return true;
  }
  return false;
}

bool StartVideo(std::string& problem) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && (!DriverWithoutScreen(driver) || AskedForByName(driver))) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  problem = NoDisplayReason();
  return false;
}

std::string DescribeWindowFailure() {
  return WithValue(ForCatalogue("Fenster konnte nicht erzeugt werden: %s"), SDL_GetError());
}

}  // namespace tavi
