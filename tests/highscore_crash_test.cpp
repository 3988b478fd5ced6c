#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <set>
#include <string>

#include "base/error_log.h"
#include "fake_platform.h"
#include "highscore/highscore_table.h"

namespace tavi {
namespace {

using TableBytes = std::array<unsigned char, HighscoreTable::FileSize>;

// A name that fills its field, so that every Clear leaves remains behind and the tables differ.
const char* const FullName = "kilo.test.12";

// What the saving child does over and over. Clear first: whatever table the child starts from,
// each step then leads to one of the tables that SaveCycle produces from a fresh start.
void SaveCycle(HighscoreTable& table) {
  table.Clear();
  table.Insert(FullName, 5);
}

TEST(HighscoreCrash, KilledWhileSavingLeavesTheOldOrTheNewTable) {
  test::TempDir dir;
  ErrorLog errors{nullptr};

  // Every table the file may hold: the sequence settles once all ten names carry remains.
  std::set<TableBytes> possible;
  {
    HighscoreTable model{errors, "model.dat"};
    model.Load();
    possible.insert(model.Bytes());
    for (int i = 0; i < 20; ++i) {
      model.Clear();
      possible.insert(model.Bytes());
      model.Insert(FullName, 5);
      possible.insert(model.Bytes());
    }
  }
  ASSERT_GT(possible.size(), 2u);
  {
    HighscoreTable first{errors};
    first.Load();
  }

  std::set<TableBytes> seen;
  // 300 rounds, and more with later kills while none has landed inside a save yet (a busy
  // machine may start the child late).
  for (int round = 0; round < 300 || (seen.size() <= 2 && round < 1200); ++round) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a test run that was stopped
      HighscoreTable table{errors};
      table.Load();
      for (int i = 0; i < 100000; ++i) SaveCycle(table);
      _exit(0);
    }
    // Spread the kills over the first 12 ms of the child's life (more in later rounds), in a
    // pattern of steps.
    usleep(static_cast<useconds_t>((round * 7919) % (12000 * (1 + round / 300))));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    const std::string bytes = test::ReadFile("Highscore.dat");
    ASSERT_EQ(bytes.size(), 160u) << "round " << round;
    TableBytes table;
    std::copy(bytes.begin(), bytes.end(), table.begin());
    ASSERT_TRUE(possible.count(table)) << "round " << round << ": a torn table";
    seen.insert(table);
  }
  // The kills did land while the child was saving, not only before it started.
  EXPECT_GT(seen.size(), 2u);
  EXPECT_TRUE(test::ReadLines("Error.txt").empty());
}

}  // namespace
}  // namespace tavi
