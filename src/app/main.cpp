// tavi: Tavi the diver catches endangered rainbow fish in a polluted lake.
#include <cstdio>
#include <string>

#include "app/file_paths.h"
#include "app/language.h"
#include "app/options.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/settings_save.h"
#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/translate.h"
#include "platform/platform.h"

namespace {
// Where the installed game keeps its media: never taken for a portable game folder.
#ifdef TAVI_DATADIR
const char* const InstalledDataFolder = TAVI_DATADIR;
#else
const char* const InstalledDataFolder = "";
#endif
}  // namespace

int main(int argc, char** argv) {
  tavi::Options options;
  std::string error;
  const bool parsed = tavi::ParseOptions(argc, argv, options, error);
  if (!parsed || options.help) {
    tavi::StartLanguage(options.language, "");  // no settings file is read for the usage
    // Parsed again to have the error in the language just chosen (a --lang before it counts).
    if (!parsed) tavi::ParseOptions(argc, argv, options, error);
    const std::string usage = tavi::Cp1252ToUtf8(tavi::UsageText(tavi::LanguagesOnOfferText()));
    if (parsed) {
      std::printf("%s", usage.c_str());
      return 0;
    }
    std::fprintf(stderr, "tavi: %s\n%s", tavi::Cp1252ToUtf8(error).c_str(), usage.c_str());
    return 2;
  }
  if (options.version) {
    std::printf("tavi %s\n", TAVI_VERSION);
    return 0;
  }
  // Headless runs (tests, demos) neither depend on nor touch the player's settings.
  const tavi::FilePaths files = tavi::PrepareFilePaths(options.dataDir, !options.headless, InstalledDataFolder);
  tavi::ErrorLog log(nullptr, files.errorFile, files.errorFileUtf8);
  const tavi::SettingsFile settings = tavi::StartSettings(files.settingsFile);
  options.pauseOnFocusLoss = settings.values.pauseOnFocusLoss;
  options.keys = settings.values.keys;
  tavi::StartLanguage(options.language, settings.values.language, &log);
  tavi::ReportSettings(settings, log);
  tavi::NoteFileLocations(files);
  const tavi::PlatformOptions platformOptions = tavi::PlatformOptionsFor(options, settings.values);
  auto platform = tavi::CreatePlatform(platformOptions);
  const int status = tavi::RunProgram(options, *platform, files);
  tavi::RememberSettings(settings, tavi::SettingsAtExit(settings.values, platformOptions, *platform), log);
  return status;
}
