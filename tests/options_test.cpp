// The table of options: values after the name or an equals sign, what is refused, and the README and
// the manual page naming every option and every setting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_text.h"
#include "app/options.h"
#include "app/settings.h"
#include "fake_platform.h"

namespace tavi {
namespace {

bool Parses(std::vector<const char*> args, Options& options) {
  args.insert(args.begin(), "tavi");
  std::string error;
  return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(Options, ValuesFollowTheNameOrAnEqualsSign) {
  Options options;
  ASSERT_TRUE(Parses({"--seed=7", "--trace", "t=1.txt", "--screenshot=3:a=b.png", "-h", "--lang=pt_BR"}, options));
  EXPECT_TRUE(options.seed == 7u && options.trace == "t=1.txt" && options.help && options.language == "pt_BR");
  ASSERT_EQ(options.screenshots.size(), 1u);
  EXPECT_TRUE(options.screenshots[0].frame == 3 && options.screenshots[0].file == "a=b.png");
  for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
           {"--window=yes"}, {"--seed="}, {"--demo"}, {"--trace", ""}, {"-window"}, {"--lang", "fran\xE7" "ais"},
           {"--demo=a", "--timedemo=b"}}) {
    Options refused;
    EXPECT_FALSE(Parses(bad, refused)) << bad[0];
  }
}

TEST(Options, EveryOptionAndSettingIsInTheReadmeAndTheManualPage) {
  const std::string readme = test::ReadFile(TAVI_SOURCE_DIR "/README.md");
  const std::string manual = test::ReadFile(TAVI_SOURCE_DIR "/dist/tavi.6.in");
  for (const OptionRow& option : OptionTable()) {
    EXPECT_NE(readme.find(std::string("`") + option.name), std::string::npos) << option.name;
    EXPECT_NE(manual.find(std::string(".It Fl -") + (option.name + 2)), std::string::npos) << option.name;
  }
  int keys = 0;
  for (const IniLine& line : SplitIni(DefaultSettingsText())) {
    if (line.kind != IniLine::Kind::Entry) continue;
    ++keys;
    EXPECT_NE(readme.find("`" + line.key + "`"), std::string::npos) << line.key;
    const bool inManual = manual.find(" " + line.key + " ") != std::string::npos ||
                          manual.find(" " + line.key + "\n") != std::string::npos;
    EXPECT_TRUE(inManual) << line.key;
  }
  EXPECT_GT(keys, 10);
}

}  // namespace
}  // namespace tavi
