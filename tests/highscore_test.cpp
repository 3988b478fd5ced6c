#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/error_log.h"
#include "highscore/highscore_table.h"

namespace tavi {
namespace {

const char* const NotOpened = "Highscore konnte nicht ge\xF6" "ffnet werden";  // geöffnet
const char* const NotSaved = "Highscore konnte nicht gespeichert werden";

// One 16-byte record: the name field exactly as given (padded with zeros) and the score.
std::string Record(const std::string& nameField, std::uint32_t score) {
  std::string r = nameField;
  r.resize(12, '\0');
  for (int b = 0; b < 4; ++b) r.push_back(static_cast<char>(score >> (8 * b)));
  return r;
}

std::string ClearedFile() {
  std::string bytes;
  for (int k = 0; k < 10; ++k) bytes += Record("-", 0);
  return bytes;
}

std::string AsString(const std::array<unsigned char, HighscoreTable::FileSize>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool OnlyTheseFiles(const std::string& dir, std::vector<std::string> names) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    found.push_back(entry.path().filename());
  std::sort(found.begin(), found.end());
  std::sort(names.begin(), names.end());
  return found == names;
}

class HighscoreTest : public ::testing::Test {
 protected:
  // A file with the scores given, names "a", "b", ... in order.
  void StartWith(const std::vector<std::uint32_t>& scores) {
    std::string bytes;
    for (std::size_t k = 0; k < scores.size(); ++k)
      bytes += Record(std::string(1, static_cast<char>('a' + k)), scores[k]);
    WriteBytes("Highscore.dat", bytes);
    table.Load();
  }
  std::string File() const { return test::ReadFile("Highscore.dat"); }

  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  HighscoreTable table{errors};
};

TEST_F(HighscoreTest, FirstStartWritesTenClearedEntries) {
  table.Load();
  EXPECT_EQ(File(), ClearedFile());
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(table.NameOf(k), "-");
    EXPECT_EQ(table.Entry(k).score, 0);
  }
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
  EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"Highscore.dat"}));
}

TEST_F(HighscoreTest, EqualScoresStayAboveTheNewEntry) {
  StartWith({9, 7, 7, 5, 4, 3, 2, 2, 1, 1});
  table.Insert("neu", 7);
  EXPECT_EQ(table.NameOf(3), "neu");
  EXPECT_EQ(table.NameOf(1), "b");
  EXPECT_EQ(table.NameOf(2), "c");
  EXPECT_EQ(table.NameOf(4), "d");
  EXPECT_EQ(table.NameOf(9), "i");  // the old last entry "j" is gone
  table.Insert("acht", 8);
  EXPECT_EQ(table.NameOf(0), "a");
  EXPECT_EQ(table.NameOf(1), "acht");
  EXPECT_EQ(table.NameOf(2), "b");
  EXPECT_EQ(File(), AsString(table.Bytes()));

  const std::vector<int> expected = {9, 8, 7, 7, 7, 5, 4, 3, 2, 2};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(table.Entry(k).score, expected[k]) << k;
}

TEST_F(HighscoreTest, NewBestGoesToTheTop) {
  table.Load();
  table.Insert("x", 1);
  std::string expected = Record("x", 1);
  for (int k = 0; k < 9; ++k) expected += Record("-", 0);
  EXPECT_EQ(File(), expected);
}

TEST_F(HighscoreTest, LastPlaceReplacesOnlyTheLastEntry) {
  std::string bytes;
  for (int k = 0; k < 9; ++k) bytes += Record("n" + std::to_string(k), 20 - k);
  bytes += Record("abcdefghij", 3);
  WriteBytes("Highscore.dat", bytes);
  table.Load();
  table.Insert("xy", 5);
  // Nothing moves; the bytes after the new name's terminator keep the old name's remains.
  EXPECT_EQ(File(), bytes.substr(0, 144) + Record(std::string("xy\0defghij", 10), 5));
}

TEST_F(HighscoreTest, ScoreNotAboveAnyEntryChangesNothing) {
  StartWith({9, 8, 7, 6, 5, 4, 3, 2, 1, 1});
  const std::string before = File();
  const ino_t inode = InodeOf("Highscore.dat");
  table.Insert("gleich", 1);
  table.Insert("weniger", 0);
  table.Insert("negativ", -5);
  EXPECT_EQ(File(), before);
  EXPECT_EQ(InodeOf("Highscore.dat"), inode);  // not even rewritten with the same bytes
  EXPECT_EQ(AsString(table.Bytes()), before);
}

TEST_F(HighscoreTest, TwelveCharacterNameHasNoTerminator) {
  table.Load();
  table.Insert("abcdefghijkl", 0x0102);
  EXPECT_EQ(File().substr(0, 16), std::string("abcdefghijkl\x02\x01\0\0", 16));

  HighscoreTable reread{errors};
  reread.Load();
  EXPECT_EQ(reread.NameOf(0), "abcdefghijkl");
  EXPECT_EQ(reread.Entry(0).score, 0x0102);

  // Clear writes only "-" and its terminator; the rest of the field stays.
  reread.Clear();
  EXPECT_EQ(File().substr(0, 16), std::string("-\0cdefghijkl\0\0\0\0", 16));
  EXPECT_EQ(reread.NameOf(0), "-");
  // A longer name than the field holds is cut at twelve characters.
  reread.Insert("abcdefghijklmnop", 1);
  EXPECT_EQ(reread.NameOf(0), "abcdefghijkl");
}

TEST_F(HighscoreTest, ScoresAreLittleEndianBytes) {
  std::string bytes = Record("min", 0x80000000u) + Record("neg", 0xFFFFFFFEu);
  WriteBytes("Highscore.dat", bytes);
  table.Load();
  EXPECT_EQ(table.Entry(0).score, INT32_MIN);
  EXPECT_EQ(table.Entry(1).score, -2);
  table.Clear();
  table.Insert("gross", 0x01020304);
  EXPECT_EQ(File().substr(12, 4), "\x04\x03\x02\x01");
}

TEST_F(HighscoreTest, ShortFileReplacesOnlyItsBytes) {
  const std::string bytes = Record("kurz", 7) + std::string("abc\0", 4);
  WriteBytes("Highscore.dat", bytes);
  table.Load();
  EXPECT_EQ(table.NameOf(0), "kurz");
  EXPECT_EQ(table.Entry(0).score, 7);
  EXPECT_EQ(table.NameOf(1), "abc");
  // The rest keeps what the table held before the load: zero.
  EXPECT_EQ(AsString(table.Bytes()), bytes + std::string(140, '\0'));
  EXPECT_EQ(File(), bytes);  // used, not rewritten
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());

  WriteBytes("Highscore.dat", "");
  HighscoreTable empty{errors};
  empty.Load();
  EXPECT_EQ(empty.NameOf(0), "");
  empty.Insert("erst", 1);
  EXPECT_EQ(empty.NameOf(0), "erst");
  EXPECT_EQ(File().size(), 160u);
}

TEST_F(HighscoreTest, GarbageFileIsTakenAsItComes) {
  std::string garbage;
  std::uint32_t x = 12345;
  for (int i = 0; i < 160; ++i) {
    x = x * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>((x >> 16) | 0x01));  // no zero byte anywhere
  }
  WriteBytes("Highscore.dat", garbage);
  table.Load();
  EXPECT_EQ(AsString(table.Bytes()), garbage);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(table.NameOf(k).size(), 12u);
  table.Insert("neu", INT32_MAX);
  EXPECT_EQ(table.NameOf(0), "neu");
  EXPECT_EQ(File(), AsString(table.Bytes()));
}

TEST_F(HighscoreTest, HugeFileReadsItsFirst160Bytes) {
  std::string head;
  for (int k = 0; k < 10; ++k) head += Record("p" + std::to_string(k), 100 - k);
  {
    std::ofstream out("Highscore.dat", std::ios::binary);
    out << head;
    const std::string tail(1 << 20, '\xFF');
    for (int i = 0; i < 10; ++i) out << tail;
  }
  table.Load();
  EXPECT_EQ(AsString(table.Bytes()), head);
  EXPECT_EQ(std::filesystem::file_size("Highscore.dat"), 160u + (10u << 20));
}

TEST_F(HighscoreTest, UnreadableFileIsReportedAndNeverReplaced) {
  ASSERT_EQ(mkdir("Highscore.dat", 0755), 0);
  table.Load();
  EXPECT_EQ(test::ReadLines("Error.txt"), std::vector<std::string>{NotOpened});
  for (int k = 0; k < 10; ++k) EXPECT_EQ(table.NameOf(k), "-");

  table.Insert("trotzdem", 4);  // plays on in memory
  table.Clear();
  table.Insert("trotzdem", 4);
  EXPECT_EQ(table.NameOf(0), "trotzdem");
  EXPECT_TRUE(std::filesystem::is_directory("Highscore.dat"));
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i = 1; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].rfind(NotSaved, 0), 0u) << lines[i];
  EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"Highscore.dat", "Error.txt"}));
}

TEST_F(HighscoreTest, SpecialFileIsNeitherReadNorReplaced) {
  ASSERT_EQ(mkfifo("Highscore.dat", 0644), 0);
  table.Load();  // must not wait for a writer
  table.Insert("x", 1);
  EXPECT_EQ(table.NameOf(0), "x");
  struct stat info {};
  ASSERT_EQ(lstat("Highscore.dat", &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], NotOpened);
  EXPECT_EQ(lines[1].rfind(NotSaved, 0), 0u) << lines[1];
}

TEST_F(HighscoreTest, MissingDirectoryIsReportedAndPlaysOn) {
  HighscoreTable lost{errors, "fehlt/Highscore.dat"};
  lost.Load();
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind(NotSaved, 0), 0u);
  EXPECT_EQ(lines[1], NotOpened);
  lost.Insert("da", 3);
  EXPECT_EQ(lost.NameOf(0), "da");
  EXPECT_EQ(lost.NameOf(1), "-");
}

TEST_F(HighscoreTest, DrawShowsNamesUpToTwelveCharactersAndScores) {
  // A glyph sheet whose every 32 x 32 cell has its own colour.
  Image sheet(256, 192);
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x)
      sheet.Set(x, y, (static_cast<Pixel>(y / 32 * 8 + x / 32 + 1) << 16) | 0x8000);
  platform.pictures["media\\schrift.bmp"] = sheet;
  auto colourOf = [&](unsigned char c) {
    const Rect cell = BitmapFont::CellFor(c);
    return sheet.At(cell.left, cell.top);
  };

  table.Load();
  table.Insert("", 3);
  table.Insert("abcdefghijkl", 0x3535);  // score bytes would draw as "55" if the name ran on
  Display display{platform, errors};
  display.ClearBackBuffer();
  BitmapFont font{display};
  table.Draw(font);
  const Image& frame = display.BackBuffer();

  for (int i = 0; i < 12; ++i) {
    const auto letter = static_cast<unsigned char>('a' + i);
    EXPECT_EQ(frame.At(250 + 32 * i + 5, 130 + 5), colourOf(letter)) << i;
  }
  EXPECT_EQ(frame.At(250 + 32 * 12 + 5, 135), ColourKeyBlue);
  const std::string score = std::to_string(0x3535);
  for (std::size_t i = 0; i < score.size(); ++i)
    EXPECT_EQ(frame.At(698 + 32 * static_cast<int>(i) + 5, 135), colourOf(score[i]));

  EXPECT_EQ(frame.At(255, 178 + 5), ColourKeyBlue);  // the empty name draws nothing ...
  EXPECT_EQ(frame.At(698 + 5, 178 + 5), colourOf('3'));  // ... but its score
  EXPECT_EQ(frame.At(255, 562 + 5), colourOf('-'));  // cleared rows down to the tenth
  EXPECT_EQ(frame.At(698 + 5, 562 + 5), colourOf('0'));
  EXPECT_EQ(frame.At(255 + 32, 562 + 5), ColourKeyBlue);
}

// Runs `body` in a child that has dropped to the unprivileged user nobody; returns its exit status
// and what it wrote to standard error.
int RunAsNobody(const std::function<bool()>& body, std::string& errorOutput) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    if (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
        setresuid(65534, 65534, 65534) != 0)
      _exit(3);
    _exit(body() ? 0 : 1);
  }
  close(pipeEnds[1]);
  char buffer[512];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    errorOutput.append(buffer, static_cast<std::size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HighscoreReadOnlyDirectory, ChangeStaysInMemoryAndFailureIsReported) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to create a directory that nobody may write";
  test::TempDir dir;
  {
    ErrorLog setupLog{nullptr};
    HighscoreTable setup{setupLog};
    setup.Load();
    setup.Insert("alt", 4);
  }
  const std::string before = test::ReadFile("Highscore.dat");
  ASSERT_EQ(before.size(), 160u);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);

  auto insertAsNobody = [](const std::string& errorFile) {
    ErrorLog log{nullptr, errorFile};
    HighscoreTable table{log};
    table.Load();
    table.Insert("neu", 9);
    return table.NameOf(0) == "neu" && table.Entry(0).score == 9 && table.NameOf(1) == "alt";
  };

  // Error.txt cannot be written either: the failure reaches standard error.
  std::string errorOutput;
  EXPECT_EQ(RunAsNobody([&] { return insertAsNobody("Error.txt"); }, errorOutput), 0);
  EXPECT_NE(errorOutput.find(NotSaved), std::string::npos) << errorOutput;
  EXPECT_FALSE(std::filesystem::exists("Error.txt"));
  EXPECT_EQ(test::ReadFile("Highscore.dat"), before);

  // A writable Error.txt gets the line.
  ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  std::ofstream("Fehler.txt").flush();
  ASSERT_EQ(chmod("Fehler.txt", 0666), 0);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  errorOutput.clear();
  EXPECT_EQ(RunAsNobody([&] { return insertAsNobody("Fehler.txt"); }, errorOutput), 0);
  const auto lines = test::ReadLines("Fehler.txt");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind(NotSaved, 0), 0u) << lines[0];
  EXPECT_EQ(test::ReadFile("Highscore.dat"), before);
  EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"Highscore.dat", "Fehler.txt"}));
  chmod(dir.Path().c_str(), 0700);
}

TEST(HighscoreReadOnlyDirectory, FileThePlayerMayNotReadIsNeverReplaced) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to create a file that nobody may read";
  test::TempDir dir;
  const std::string secret = Record("geheim", 42) + ClearedFile().substr(16);
  WriteBytes("Highscore.dat", secret);
  ASSERT_EQ(chmod("Highscore.dat", 0600), 0);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);  // the directory itself could be written

  std::string errorOutput;
  const int status = RunAsNobody(
      [] {
        ErrorLog log{nullptr};
        HighscoreTable table{log};
        table.Load();
        const bool cleared = table.NameOf(0) == "-" && table.Entry(0).score == 0;
        table.Insert("neu", 1);
        return cleared && table.NameOf(0) == "neu";
      },
      errorOutput);
  EXPECT_EQ(status, 0);
  const auto lines = test::ReadLines("Error.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], NotOpened);
  EXPECT_EQ(lines[1].rfind(NotSaved, 0), 0u) << lines[1];
  EXPECT_EQ(test::ReadFile("Highscore.dat"), secret);
  chmod(dir.Path().c_str(), 0700);
}

}  // namespace
}  // namespace tavi
