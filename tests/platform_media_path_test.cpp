// Mapping the game's Windows-style media names to files on disk.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fake_platform.h"
#include "platform/platform.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(MediaPath, MapsBackslashAndWindows1252ToUtf8WhenNothingExists) {
  test::TempDir dir;
  EXPECT_EQ(ResolveMediaPath("media\\gr\xFC\xDF.wav"), "media/gr\xC3\xBC\xC3\x9F.wav");  // "grüß"
  EXPECT_EQ(ResolveMediaPath("media\\l\xF6sen.bmp"), "media/l\xC3\xB6sen.bmp");           // "lösen"
}

TEST(MediaPath, PrefersTheWorkingDirectoryThenTheExecutablesDirectory) {
  test::TempDir dir;
  std::error_code error;
  const fs::path exeDir = fs::read_symlink("/proc/self/exe", error).parent_path();
  ASSERT_FALSE(error);
  const std::string folder = "tavi-media-probe-" + std::to_string(getpid());
  const fs::path besideExe = exeDir / folder / "ganz gro\xC3\x9F.bmp";
  Touch(besideExe);
  if (!fs::exists(besideExe)) GTEST_SKIP() << "the test's directory is not writable";
  const std::string name = folder + "\\ganz gro\xDF.bmp";  // "ganz groß.bmp"

  EXPECT_EQ(ResolveMediaPath(name), besideExe.string());
  Touch(fs::path(dir.Path()) / folder / "ganz gro\xC3\x9F.bmp");
  EXPECT_EQ(ResolveMediaPath(name), folder + "/ganz gro\xC3\x9F.bmp");

  fs::remove_all(exeDir / folder, error);
}

// An installation copied to another prefix: <prefix>/bin/tavi reads <prefix>/share/tavi/media.
TEST(MediaPath, FindsTheDataDirectoryOfARelocatedInstallation) {
  test::TempDir dir;
  std::error_code error;
  const fs::path exeDir = fs::read_symlink("/proc/self/exe", error).parent_path();
  ASSERT_FALSE(error);
  const std::string folder = "tavi-installed-probe-" + std::to_string(getpid());
  const fs::path installed = exeDir / ".." / "share" / "tavi" / folder / "wal.bmp";
  Touch(installed);
  if (!fs::exists(installed)) GTEST_SKIP() << "the test's parent directory is not writable";
  const std::string name = folder + "\\wal.bmp";

  EXPECT_TRUE(fs::equivalent(ResolveMediaPath(name), installed, error));
  // A copy beside the executable still comes first.
  Touch(exeDir / folder / "wal.bmp");
  EXPECT_EQ(ResolveMediaPath(name), (exeDir / folder / "wal.bmp").string());

  fs::remove_all(exeDir / folder, error);
  fs::remove_all(exeDir / ".." / "share" / "tavi" / folder, error);
  fs::remove(exeDir / ".." / "share" / "tavi", error);  // only when left empty
  fs::remove(exeDir / ".." / "share", error);
}

}  // namespace
}  // namespace tavi
