// What the game writes and how it ends, under careless or hostile use: screenshots over links,
// pipes and planted files, stop signals, demos it must refuse, outputs to a full disk.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/demo.h"
#include "base/key_names.h"
#include "fake_platform.h"

namespace tavi {
namespace {

void Put(const char* path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct Outcome {
  int status = -1;  // the exit status; -1 when a signal or the watchdog ended the game
  std::string err;
};

// Runs the built game in the current folder. With `stop`, that signal is sent once the game has
// begun its recording "r.txt" and its trace "t.txt" (so it has rendered frames, however busy the
// machine).
Outcome RunGame(const std::vector<std::string>& args, int stop = 0) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) ::signal(s, SIG_DFL);
    ::dup2(::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::dup2(::open("/dev/null", O_WRONLY), 1);
    std::vector<char*> argv{const_cast<char*>(TAVI_EXE)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(TAVI_EXE, argv.data());
    ::_exit(127);
  }
  const auto start = std::chrono::steady_clock::now();
  auto waited = [&] { return std::chrono::steady_clock::now() - start; };
  if (stop != 0) {
    while ((test::ReadFile("r.txt").empty() || test::ReadFile("t.txt").empty()) &&
           waited() < std::chrono::seconds(20)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, stop);
  }
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (waited() > std::chrono::seconds(60)) ::kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFile("err.txt")};
}

TEST(OutputFaults, ScreenshotsWriteThroughLinksAndNeverOverOtherFiles) {
  test::TempDir dir;
  Put("victim.txt", "keep");
  ASSERT_EQ(::symlink("victim.txt", "shot.png.part"), 0);  // where shots were once written first
  Put("real.png", "old");
  ASSERT_EQ(::symlink("real.png", "link.png"), 0);
  ASSERT_EQ(::mkfifo("fifo.png", 0644), 0);
  const Outcome run = RunGame({"--headless", "--seed", "1", "--screenshot", "0:shot.png",
                               "--screenshot", "0:link.png", "--screenshot", "0:fifo.png"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("fifo.png"), std::string::npos) << run.err;
  EXPECT_TRUE(test::ReadFile("victim.txt") == "keep");  // no dump of a picture when it fails
  EXPECT_EQ(test::ReadFile("shot.png").substr(1, 3), "PNG");
  auto type = [](const char* path) {
    struct stat info {};
    return ::lstat(path, &info) == 0 ? info.st_mode & S_IFMT : 0;
  };
  EXPECT_EQ(type("link.png"), S_IFLNK);
  EXPECT_EQ(test::ReadFile("real.png").substr(1, 3), "PNG");
  EXPECT_EQ(type("fifo.png"), S_IFIFO);
}

TEST(OutputFaults, StopSignalsEndTheRunWithTraceAndDemoWhole) {
  for (const int stop : {SIGTERM, SIGINT, SIGHUP}) {
    test::TempDir dir;
    Put("long.demo", "seed 7\n1000000 quit\n");  // hours in real time
    const Outcome run = RunGame({"--headless", "--demo", "long.demo", "--trace", "t.txt", "--record", "r.txt"}, stop);
    EXPECT_EQ(run.status, 0) << "signal " << stop << ": " << run.err;
    const std::string trace = test::ReadFile("t.txt");
    const std::vector<std::string> lines = test::ReadLines("t.txt");
    ASSERT_FALSE(lines.empty()) << stop;
    EXPECT_EQ(trace.back(), '\n') << "a line cut off";
    EXPECT_EQ(lines.back().substr(0, lines.back().find(' ')), std::to_string(lines.size() - 1));
    const std::string demo = test::ReadFile("r.txt");
    EXPECT_EQ(demo.rfind("seed 7\n", 0), 0u) << demo;
    EXPECT_TRUE(demo.size() > 5 && demo.substr(demo.size() - 5) == "quit\n") << demo;
  }
}

TEST(OutputFaults, RefusedDemosAndLostOutputsFailTheRun) {
  test::TempDir dir;
  Put("bad.demo", "0 esc\n5 jump\n");
  ::mkdir("folder.demo", 0755);
  for (const char* demo : {"bad.demo", "folder.demo"}) {
    const Outcome run = RunGame({"--headless", "--timedemo", demo, "--trace", "t.txt"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(demo), std::string::npos) << run.err;
    EXPECT_EQ(::access("t.txt", F_OK), -1) << "the game started in place of " << demo;
  }
  EXPECT_NE(RunGame({"--headless", "--timedemo", "bad.demo"}).err.find("bad.demo:2:"), std::string::npos);

  EXPECT_EQ(RunGame({"--headless", "--frames", "3", "--trace", "t.txt", "--record", "r.txt"}).status, 0);
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  for (const char* option : {"--trace", "--record"}) {
    const Outcome run = RunGame({"--headless", "--frames", "3", option, "/dev/full"});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_NE(run.err.find("/dev/full"), std::string::npos) << run.err;
  }
}

TEST(DemoFile, NulByteIsAnErrorOfItsLine) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("0 esc\n2\0junk quit\n", 18), "d.txt:2: "},  // was read as "2 quit"
      {std::string("0 keys SPACE\0UP\n", 16), "d.txt:1: "},    // was "unknown key SPACE"
  };
  for (const auto& [text, where] : cases) {
    Demo demo;
    std::string error;
    EXPECT_FALSE(ParseDemo(text, "d.txt", demo, error));
    EXPECT_EQ(error.rfind(where, 0), 0u) << error;
    EXPECT_NE(error.find("Nullbyte"), std::string::npos) << error;
  }
}

// Words are split on every kind of white space, lines on LF with an optional CR; blank and
// comment lines still count for the line numbers of an error.
TEST(DemoFile, WordsAndLines) {
  Demo demo;
  std::string error;
  ASSERT_TRUE(ParseDemo(" seed\t7\r\n0 keys\vUP\f LEFT \n\n# note\n \t\v\f\r\n12\tmove  3 4\n20 esc", "d.txt", demo,
                        error))
      << error;
  EXPECT_EQ(demo.seed, 7u);
  ASSERT_EQ(demo.lines.size(), 4u);
  EXPECT_EQ(demo.lines[0].keys, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(DikFromName("UP")),
                                                          static_cast<std::uint8_t>(DikFromName("LEFT"))}));
  EXPECT_EQ(demo.lines[1].frame, 12);
  EXPECT_EQ(demo.lines[1].kind, DemoLine::Kind::Move);
  EXPECT_EQ(demo.lines[1].y, 4);
  EXPECT_EQ(demo.lines[2].kind, DemoLine::Kind::Escape);  // the last line without its LF
  EXPECT_EQ(demo.lines[3].kind, DemoLine::Kind::Quit);
  EXPECT_EQ(demo.lines[3].frame, 20);

  EXPECT_FALSE(ParseDemo("0 esc\n\n# note\r\n\v\n5 move 1\n", "d.txt", demo, error));
  EXPECT_EQ(error.rfind("d.txt:5: ", 0), 0u) << error;
}

}  // namespace
}  // namespace tavi
