#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "base/error_log.h"
#include "base/file_read.h"
#include "fake_platform.h"

namespace tavi {
namespace {

TEST(ReadRegularFile, ReadsUpToTheLimitAndRefusesAnythingElseNamingTheFile) {
  test::TempDir dir;
  std::ofstream("zehn") << "0123456789";
  ASSERT_EQ(::mkfifo("rohr", 0644), 0);
  std::string bytes = "vorher";
  std::string error;
  EXPECT_TRUE(ReadRegularFile("zehn", 10, bytes, error));
  EXPECT_EQ(bytes, "0123456789");
  // Each refused without blocking and without touching `bytes`; the message names the file.
  const std::pair<const char*, const char*> refused[] = {
      {"zehn", "zehn: gr\xF6\xDF" "er als 9 Bytes"}, {"rohr", "rohr: keine gew\xF6hnliche Datei"},
      {"/dev/zero", "/dev/zero: keine gew\xF6hnliche Datei"}, {".", ".: keine gew\xF6hnliche Datei"},
      {"fehlt", "fehlt: No such file or directory"}};
  for (const auto& [path, message] : refused) {
    bytes = "vorher";
    EXPECT_FALSE(ReadRegularFile(path, 9, bytes, error)) << path;
    EXPECT_EQ(error, message);
    EXPECT_EQ(bytes, "vorher");
  }
  std::ofstream("gross") << std::string((2 << 20) + 1, 'x');
  EXPECT_FALSE(ReadRegularFile("gross", 2 << 20, bytes, error, "media\\gro\xDF.wav"));  // groß
  EXPECT_EQ(error, "media\\gro\xDF.wav: gr\xF6\xDF" "er als 2 MiB");
  // Files whose size reads as 0 are read to their end, and the limit holds on what is read.
  EXPECT_TRUE(ReadRegularFile("/proc/self/maps", 1 << 20, bytes, error)) << error;
  EXPECT_NE(bytes.find("[stack]"), std::string::npos);
  EXPECT_FALSE(ReadRegularFile("/proc/self/maps", 16, bytes, error));
  EXPECT_EQ(error, "/proc/self/maps: gr\xF6\xDF" "er als 16 Bytes");
}

// An error file that is a FIFO is not written to, even with a reader at the other end (without
// one, the fault test shows that nothing waits for it); standard error still has the line.
TEST(ErrorLogFile, AFifoIsSkipped) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo("Error.txt", 0644), 0);
  const int reader = ::open("Error.txt", O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ErrorLog(nullptr).LogError("mit Leser");
  char buffer[64];
  EXPECT_LE(::read(reader, buffer, sizeof buffer), 0);
  ::close(reader);
}

}  // namespace
}  // namespace tavi
