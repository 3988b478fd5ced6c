// tavi: Tavi the diver catches endangered rainbow fish in a polluted lake.
#include <cstdio>
#include <string>

#include "app/file_paths.h"
#include "app/options.h"
#include "app/program.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  tavi::Options options;
  std::string error;
  if (!tavi::ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "tavi: %s\n%s", error.c_str(), tavi::UsageText());
    return 2;
  }
  if (options.help) {
    std::printf("%s", tavi::UsageText());
    return 0;
  }
  if (options.version) {
    std::printf("tavi %s\n", TAVI_VERSION);
    return 0;
  }
  tavi::PlatformOptions platformOptions;
  platformOptions.window = options.window;
  platformOptions.headless = options.headless;
  platformOptions.scaling = options.scaling;
  platformOptions.sound = options.sound && !options.headless;
  auto platform = tavi::CreatePlatform(platformOptions);
  return tavi::RunProgram(options, *platform, tavi::PrepareFilePaths(options.dataDir, false));
}
