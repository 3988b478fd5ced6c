#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/error_log.h"
#include "fake_platform.h"
#include "highscore/highscore_table.h"
#include "highscore/list_check.h"

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
  std::string File() const { return test::ReadFile("Highscore.dat"); }

  test::FakePlatform platform;
  test::TempDir dir;
  ErrorLog errors{&platform};
  HighscoreTable table{errors};
};

TEST_F(HighscoreTest, EqualScoresStayAboveTheNewEntry) {
  const std::uint32_t before[10] = {9, 7, 7, 5, 4, 3, 2, 2, 1, 1};
  std::string bytes;
  for (int k = 0; k < 10; ++k) bytes += Record(std::string(1, static_cast<char>('a' + k)), before[k]);
  WriteBytes("Highscore.dat", bytes);
  table.Load();
  table.Insert("neu", 7);
  EXPECT_EQ(table.NameOf(3), "neu");
  table.Insert("acht", 8);
  const char* const names[10] = {"a", "acht", "b", "c", "neu", "d", "e", "f", "g", "h"};  // "i", "j" are gone
  const int scores[10] = {9, 8, 7, 7, 7, 5, 4, 3, 2, 2};
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(table.NameOf(k), names[k]) << k;
    EXPECT_EQ(table.Entry(k).score, scores[k]) << k;
  }
  EXPECT_EQ(File(), AsString(table.Bytes()));
}

TEST_F(HighscoreTest, LastPlaceReplacesOnlyTheLastEntryAndALowerScoreChangesNothing) {
  std::string bytes;
  for (int k = 0; k < 9; ++k) bytes += Record("n" + std::to_string(k), 20 - k);
  bytes += Record("abcdefghij", 3);
  WriteBytes("Highscore.dat", bytes);
  table.Load();
  table.Insert("xy", 5);
  // Nothing moves; the bytes after the new name's terminator keep the old name's remains.
  const std::string after = bytes.substr(0, 144) + Record(std::string("xy\0defghij", 10), 5);
  EXPECT_EQ(File(), after);

  const ino_t inode = InodeOf("Highscore.dat");
  for (int score : {5, 0, -5}) table.Insert("weniger", score);
  EXPECT_EQ(File(), after);
  EXPECT_EQ(InodeOf("Highscore.dat"), inode);  // not even rewritten with the same bytes
  EXPECT_EQ(AsString(table.Bytes()), after);
}

TEST_F(HighscoreTest, TwelveCharacterNameHasNoTerminatorAndScoresAreSignedLittleEndian) {
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
  reread.Insert("abcdefghijklmnop", 1);  // cut at twelve characters
  EXPECT_EQ(reread.NameOf(0), "abcdefghijkl");

  WriteBytes("Highscore.dat", Record("min", 0x80000000u) + Record("neg", 0xFFFFFFFEu));
  table.Load();
  EXPECT_EQ(table.Entry(0).score, INT32_MIN);
  EXPECT_EQ(table.Entry(1).score, -2);
}

TEST_F(HighscoreTest, ShortEmptyAndHugeFilesAreTakenAsTheyCome) {
  const std::string shortFile = Record("kurz", 7) + std::string("abc\0", 4);
  WriteBytes("Highscore.dat", shortFile);
  table.Load();
  EXPECT_EQ(table.NameOf(1), "abc");
  // The rest keeps what the table held before the load: zero.
  EXPECT_EQ(AsString(table.Bytes()), shortFile + std::string(140, '\0'));
  EXPECT_EQ(File(), shortFile);  // used, not rewritten

  WriteBytes("Highscore.dat", "");
  HighscoreTable empty{errors};
  empty.Load();
  EXPECT_EQ(empty.NameOf(0), "");
  empty.Insert("erst", 1);
  EXPECT_EQ(empty.NameOf(0), "erst");
  EXPECT_EQ(File().size(), 160u);

  std::string head;
  for (int k = 0; k < 10; ++k) head += Record("p" + std::to_string(k), 100 - k);
  WriteBytes("Highscore.dat", head + std::string(10 << 20, '\xFF'));
  table.Load();
  EXPECT_EQ(AsString(table.Bytes()), head);
  EXPECT_EQ(std::filesystem::file_size("Highscore.dat"), 160u + (10u << 20));
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
}

TEST_F(HighscoreTest, UnreadableOrSpecialFileIsReportedAndNeverReplaced) {
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "fifo" : "directory");
    std::filesystem::remove_all("Highscore.dat");
    std::filesystem::remove("Error.txt");
    ASSERT_EQ(fifo ? mkfifo("Highscore.dat", 0644) : mkdir("Highscore.dat", 0755), 0);
    HighscoreTable blocked{errors};
    blocked.Load();  // must not wait for a writer
    for (int k = 0; k < 10; ++k) EXPECT_EQ(blocked.NameOf(k), "-");
    blocked.Insert("trotzdem", 4);  // plays on in memory
    blocked.Clear();
    blocked.Insert("trotzdem", 4);
    EXPECT_EQ(blocked.NameOf(0), "trotzdem");
    struct stat info {};
    ASSERT_EQ(lstat("Highscore.dat", &info), 0);
    EXPECT_TRUE(fifo ? S_ISFIFO(info.st_mode) : S_ISDIR(info.st_mode));
    const auto lines = test::ReadLines("Error.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], NotOpened);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(NotSaved, 0), 0u) << lines[i];
    EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"Highscore.dat", "Highscore.dat.lock", "Error.txt"}));
  }
}

TEST_F(HighscoreTest, TwoGamesOnOneListKeepBothResults) {
  HighscoreTable other{errors};
  table.Load();
  other.Load();
  table.Insert("tavi", 5);
  other.Insert("bob", 3);
  EXPECT_EQ(other.NameOf(0), "tavi");
  EXPECT_EQ(other.NameOf(1), "bob");
  EXPECT_EQ(File(), AsString(other.Bytes()));
  const std::string both = File();

  // A game saving meanwhile, under the lock: the insert waits for it and builds on its list.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    flock(open("Highscore.dat.lock", O_RDONLY | O_CREAT, 0666), LOCK_EX);
    (void)!write(ready[1], "x", 1);
    usleep(200000);
    WriteBytes("Highscore.dat", Record("kind", 4) + ClearedFile().substr(16));
    _exit(0);
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  table.Insert("eltern", 2);
  waitpid(pid, nullptr, 0);
  EXPECT_EQ(table.NameOf(0), "kind");
  EXPECT_EQ(table.NameOf(1), "eltern");
  EXPECT_EQ(File(), AsString(table.Bytes()));

  // A list unreadable at that moment is left alone; the result waits in memory for the next save.
  std::filesystem::remove("Highscore.dat");
  ASSERT_EQ(mkdir("Highscore.dat", 0755), 0);
  table.Insert("zuletzt", 9);
  EXPECT_EQ(table.NameOf(0), "zuletzt");
  EXPECT_TRUE(std::filesystem::is_empty("Highscore.dat"));
  std::filesystem::remove("Highscore.dat");
  WriteBytes("Highscore.dat", both);
  table.Insert("x", 1);
  const char* const names[4] = {"zuletzt", "tavi", "bob", "x"};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(table.NameOf(k), names[k]) << k;
  EXPECT_EQ(File(), AsString(table.Bytes()));
}

// The browser's tabs: saves between frames, each over the list as stored at that moment.
TEST_F(HighscoreTest, DeferredSavesMergeOverTheStoredListAndKeepChangesUntilStored) {
  HighscoreTable other{errors};
  table.Load();
  other.Load();
  table.DeferSaves();
  other.DeferSaves();
  table.Insert("tavi", 5);
  other.Insert("bob", 3);
  EXPECT_EQ(File(), ClearedFile());
  ASSERT_TRUE(table.SaveDeferred());
  table.ForgetSaved(1);
  ASSERT_TRUE(other.SaveDeferred());
  EXPECT_EQ(other.NameOf(0), "tavi");
  EXPECT_EQ(other.NameOf(1), "bob");
  EXPECT_EQ(File(), AsString(other.Bytes()));

  // Its store failed (no ForgetSaved): the next save applies the change again, over what is stored.
  WriteBytes("Highscore.dat", Record("kind", 4) + ClearedFile().substr(16));
  other.Insert("carl", 1);
  ASSERT_TRUE(other.SaveDeferred());
  const char* const merged[3] = {"kind", "bob", "carl"};
  for (int k = 0; k < 3; ++k) EXPECT_EQ(other.NameOf(k), merged[k]) << k;
  other.ForgetSaved(2);
  EXPECT_EQ(other.UnsavedChanges(), 0u);

  // A list unreadable at that moment is left alone and the change waits; a missing one is written.
  std::filesystem::remove("Highscore.dat");
  ASSERT_EQ(mkdir("Highscore.dat", 0755), 0);
  other.Insert("x", 2);
  EXPECT_FALSE(other.SaveDeferred());
  EXPECT_EQ(other.UnsavedChanges(), 1u);
  std::filesystem::remove("Highscore.dat");
  ASSERT_TRUE(other.SaveDeferred());
  EXPECT_EQ(other.NameOf(2), "x");
  EXPECT_EQ(File(), AsString(other.Bytes()));
}

TEST_F(HighscoreTest, SaveKeepsLinkAndModeAndLeavesFilesThePlayerMayNotChange) {
  std::filesystem::create_directory("sync");
  WriteBytes("sync/liste.dat", ClearedFile());
  ASSERT_EQ(chmod("sync/liste.dat", 0600), 0);
  ASSERT_EQ(symlink("sync/liste.dat", "Highscore.dat"), 0);
  table.Load();
  table.Insert("link", 7);
  struct stat info {};
  ASSERT_EQ(lstat("Highscore.dat", &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(test::ReadFile("sync/liste.dat"), Record("link", 7) + ClearedFile().substr(16));
  ASSERT_EQ(stat("sync/liste.dat", &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_TRUE(OnlyTheseFiles("sync", {"liste.dat", "liste.dat.lock"}));

  // Read-only, and (where the test may give it away) someone else's: reported, left as it is.
  const std::string before = File();
  for (const bool foreign : {false, true}) {
    if (foreign && geteuid() != 0) break;
    ASSERT_EQ(foreign ? chown("sync/liste.dat", 65534, 65534) : chmod("sync/liste.dat", 0444), 0);
    table.Insert(foreign ? "fremd" : "nurlesen", foreign ? 10 : 9);
    EXPECT_EQ(table.NameOf(0), foreign ? "fremd" : "nurlesen");
    EXPECT_EQ(File(), before);
    const auto lines = test::ReadLines("Error.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind(std::string(NotSaved) + " (sync/liste.dat: ", 0), 0u) << lines.back();
    ASSERT_EQ(chmod("sync/liste.dat", 0644), 0);
  }
}

// In a folder everyone may write to with the sticky bit, a link is followed only when it is the
// player's or the folder owner's, as the kernel's protected links are: one another user planted
// there is neither read, written nor created through, for the list as for the error log.
TEST_F(HighscoreTest, LinksPlantedByOthersInASharedFolderAreNotFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give links away";
  ASSERT_EQ(mkdir("shared", 0) | chmod("shared", 01777), 0);
  const std::string secret = Record("geheim", 99);
  WriteBytes("secret", secret);
  for (const std::string link : {"Highscore.dat", "Error.txt"}) {
    ASSERT_EQ(symlink(dir.File(link[0] == 'H' ? "secret" : "log").c_str(), ("shared/" + link).c_str()), 0);
    ASSERT_EQ(lchown(("shared/" + link).c_str(), 65534, 65534), 0);
  }
  ErrorLog sharedLog{&platform, "shared/Error.txt"};
  HighscoreTable shared{sharedLog, "shared/Highscore.dat"};
  shared.Load();
  shared.Insert("tavi", 5);
  EXPECT_EQ(shared.NameOf(0) + shared.NameOf(1), "tavi-");  // played on in memory; the secret unread
  EXPECT_EQ(test::ReadFile("secret"), secret);
  EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"secret", "shared"}));  // no log, lock or temporary file

  // The folder owner's link, one outside a sticky folder and the player's own are followed.
  const struct { uid_t folder, link; mode_t mode; const char* name; } followed[] = {
      {65534, 65534, 01777, "eigen"}, {0, 65534, 0777, "offen"}, {0, 0, 01777, "spieler"}};
  for (const auto& c : followed) {
    ASSERT_EQ(chown("shared", c.folder, 0) | chmod("shared", c.mode) | lchown("shared/Highscore.dat", c.link, 0), 0);
    shared.Insert(c.name, 6);
    EXPECT_EQ(test::ReadFile("secret"), AsString(shared.Bytes())) << c.name;
  }
  EXPECT_EQ(shared.NameOf(0) + shared.NameOf(3) + shared.NameOf(4), "geheimspielertavi");
}

TEST_F(HighscoreTest, TemporaryFilesOfKilledGamesGoAtTheNextSave) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string stale = "Highscore.dat.tmp-" + std::to_string(dead);
  const std::string running = "Highscore.dat.tmp-" + std::to_string(getppid());
  WriteBytes(stale, "halb");
  WriteBytes(running, "halb");
  table.Load();  // writes a fresh list
  EXPECT_TRUE(OnlyTheseFiles(dir.Path(), {"Highscore.dat", "Highscore.dat.lock", running}));
}

// An imported list: only one the game could have written is taken.
TEST(ListCheck, TakesTheGamesListsAndRefusesOthers) {
  const auto check = [](const std::string& bytes) {
    return CheckListBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  };
  std::string good = Record("tavi", 900) + Record("twelve chars", 900) + Record(std::string("-\0old", 5), 7);
  for (int k = 3; k < 10; ++k) good += Record("", 0);
  EXPECT_EQ(check(good), ListCheck::Good);
  EXPECT_EQ(check(ClearedFile()), ListCheck::Good);
  EXPECT_EQ(check(good.substr(0, 159)), ListCheck::WrongSize);
  EXPECT_EQ(check(good + "x"), ListCheck::WrongSize);
  EXPECT_EQ(check(""), ListCheck::WrongSize);

  std::string rising = good;
  rising[16 * 9 + 12] = 1;  // the last score above the one before it
  EXPECT_EQ(check(rising), ListCheck::ScoresOutOfOrder);
  // A negative score below zeros is out of order too: scores are signed.
  EXPECT_EQ(check(Record("a", 0xFFFFFFFFu) + ClearedFile().substr(16)), ListCheck::ScoresOutOfOrder);

  std::string control = good;
  control[2] = '\n';
  EXPECT_EQ(check(control), ListCheck::BadName);
  control = good;
  control[16 + 11] = 0x7F;  // the last byte of a full name
  EXPECT_EQ(check(control), ListCheck::BadName);
}

// An import replaces the list at the next store, under any earlier change not stored yet; later
// changes go on top of it.
TEST_F(HighscoreTest, ReplaceTakesAWholeListAndLaterChangesGoOnTop) {
  table.Load();
  table.DeferSaves();
  table.Insert("old", 50);
  std::string imported = Record("ina", 40) + Record("jo", 30);
  for (int k = 2; k < 10; ++k) imported += Record("-", 0);
  std::array<unsigned char, HighscoreTable::FileSize> bytes{};
  std::copy(imported.begin(), imported.end(), bytes.begin());
  table.Replace(bytes);
  EXPECT_EQ(AsString(table.Bytes()), imported);
  EXPECT_EQ(File(), ClearedFile());
  table.Insert("neu", 35);
  ASSERT_TRUE(table.SaveDeferred());
  const char* const names[4] = {"ina", "neu", "jo", "-"};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(table.NameOf(k), names[k]) << k;
  EXPECT_EQ(File(), AsString(table.Bytes()));
}

}  // namespace
}  // namespace tavi
