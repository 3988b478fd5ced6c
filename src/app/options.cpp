#include "app/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "base/translate.h"

namespace tavi {

bool ParseInteger(const std::string& text, int base, long long low, long long high, long long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, base);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

namespace {

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
  return ParseInteger(text, 10, low, high, value);
}

// A switch, or an option that only keeps its value.
template <bool Options::*Field, bool On>
bool Switch(const std::string&, Options& options, std::string&) {
  options.*Field = On;
  return true;
}
template <std::string Options::*Field>
bool Keep(const std::string& value, Options& options, std::string&) {
  options.*Field = value;
  return true;
}

// `message` is a whole sentence for the catalogue; "%s" in it becomes `value`.
bool Fail(std::string& error, const char* message, const std::string& value = "") {
  error = FillIn(Translate(message), {value});
  return false;
}

const char* const FileValue = ForCatalogue("DATEI");

}  // namespace

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> table = {
      {"--window", nullptr, nullptr, ForCatalogue("Fenster statt Vollbild (Alt+Eingabe wechselt)"),
       Switch<&Options::window, true>},
      {"--scale", nullptr, ForCatalogue("MODUS"),
       ForCatalogue("smooth (Voreinstellung), sharp oder integer"),
       [](const std::string& value, Options& options, std::string& error) {
         const char* const names[] = {"smooth", "sharp", "integer"};
         const Scaling modes[] = {Scaling::Smooth, Scaling::Sharp, Scaling::SharpInteger};
         for (int k = 0; k < 3; ++k) {
           if (value != names[k]) continue;
           options.scaling = modes[k];
           return true;
         }
         return Fail(error, ForCatalogue("--scale braucht smooth, sharp oder integer"));
       }},
      {"--nosound", nullptr, nullptr, ForCatalogue("ohne Ton spielen"), Switch<&Options::sound, false>},
      {"--lang", nullptr, ForCatalogue("SPRACHE"),
       ForCatalogue("Sprache der Texte und Bilder (%s)"),
       [](const std::string& value, Options& options, std::string& error) {
         if (!IsLanguageCode(value)) return Fail(error, ForCatalogue("--lang braucht ein Sprachk\xFCrzel wie de, en, fr oder pt_BR"));  // Sprachkürzel
         options.language = value;
         return true;
       }},
      {"--data-dir", nullptr, ForCatalogue("ORDNER"),
       ForCatalogue("Highscore, Fehlerprotokoll und Einstellungen in ORDNER"),
       Keep<&Options::dataDir>},
      {"--headless", nullptr, nullptr, ForCatalogue("kein Fenster und kein Audioger\xE4t"),  // Audiogerät
       Switch<&Options::headless, true>},
      {"--demo", nullptr, FileValue, ForCatalogue("ein aufgezeichnetes Demo in Echtzeit abspielen"),
       Keep<&Options::demo>},
      {"--timedemo", nullptr, FileValue,
       ForCatalogue("Demo so schnell wie m\xF6glich abspielen, Bildrate zeigen"),  // möglich
       Keep<&Options::timedemo>},
      {"--record", nullptr, FileValue, ForCatalogue("das Gespielte als Demo aufzeichnen"), Keep<&Options::record>},
      {"--trace", nullptr, FileValue, ForCatalogue("je gezeichnetem Bild eine Zeile Spielzustand schreiben"),
       Keep<&Options::trace>},
      {"--seed", nullptr, "N", ForCatalogue("Startwert des Zufallsgenerators"),
       [](const std::string& value, Options& options, std::string& error) {
         long long number = 0;
         if (!ParseNumber(value, 0, 0xFFFFFFFFll, number)) return Fail(error, ForCatalogue("--seed braucht eine Zahl von 0 bis 4294967295"));
         options.seed = static_cast<std::uint32_t>(number);
         return true;
       }},
      {"--screenshot", nullptr, ForCatalogue("N:DATEI"),
       ForCatalogue("Bild Nummer N als PNG speichern (auch mehrmals)"),
       [](const std::string& value, Options& options, std::string& error) {
         const auto colon = value.find(':');
         Screenshot shot;
         if (colon == std::string::npos || !ParseNumber(value.substr(0, colon), 0, 1ll << 50, shot.frame) ||
             colon + 1 == value.size()) {
           return Fail(error, ForCatalogue("--screenshot braucht BILD:DATEI"));
         }
         shot.file = value.substr(colon + 1);
         options.screenshots.push_back(shot);
         return true;
       }},
      {"--frames", nullptr, "N", ForCatalogue("nach N gezeichneten Bildern enden"),
       [](const std::string& value, Options& options, std::string& error) {
         long long number = 0;
         if (!ParseNumber(value, 0, 1ll << 50, number)) return Fail(error, ForCatalogue("--frames braucht eine Anzahl Bilder"));
         options.frames = number;
         return true;
       }},
      {"--help", "-h", nullptr, ForCatalogue("diese Hilfe zeigen"), Switch<&Options::help, true>},
      {"--version", nullptr, nullptr, ForCatalogue("die Version zeigen"), Switch<&Options::version, true>},
  };
  return table;
}

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto equals = arg.compare(0, 2, "--") == 0 ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const OptionRow* row = nullptr;
    for (const OptionRow& option : OptionTable()) {
      if (name == option.name || (option.shortName && name == option.shortName)) row = &option;
    }
    if (!row) {
      return Fail(error, ForCatalogue("unbekannte Option %s"), arg);
    }
    std::string value;
    if (!row->value && equals != std::string::npos) {
      return Fail(error, ForCatalogue("die Option %s nimmt keinen Wert"), name);
    }
    if (row->value) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      }
      if (value.empty()) {
        return Fail(error, ForCatalogue("die Option %s braucht einen Wert"), name);
      }
    }
    if (!row->apply(value, options, error)) return false;
  }
  if (!options.demo.empty() && !options.timedemo.empty()) {
    return Fail(error, ForCatalogue("--demo und --timedemo schlie\xDF" "en einander aus"));  // schließen
  }
  return true;
}

std::string UsageText(const std::string& languages) {
  std::vector<std::string> lefts;
  std::size_t column = 24;  // where the explanations start: here, or after the widest name and value
  for (const OptionRow& option : OptionTable()) {
    std::string left = std::string("  ") + option.name;
    if (option.shortName) left += std::string(", ") + option.shortName;
    if (option.value) left += " " + Translate(option.value);
    column = std::max(column, left.size() + 2);
    lefts.push_back(left);
  }
  std::string usage = Translate("Aufruf: tavi [Optionen]") + "\n";
  for (std::size_t k = 0; k < lefts.size(); ++k) {
    lefts[k].resize(column, ' ');
    usage += lefts[k] + FillIn(Translate(OptionTable()[k].help), {languages}) + "\n";
  }
  return usage;
}

}  // namespace tavi
