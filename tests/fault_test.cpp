// The built game under the faults a player's machine can hand it: media missing or broken, a
// working directory that cannot be written, an error file that cannot be written, no audio device,
// no soundfont, and highscore files that are empty, short, huge or not a file at all. Each run
// plays a 600-frame demo to its end with the real executable (on SDL's dummy drivers, so nothing
// needs a display or a sound card) and must end with status 0, every frame rendered, the right
// report in Error.txt or on standard error, and nothing stored lost.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "base/media_manifest.h"
#include "picture_table.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;

const std::string Executable = TAVI_EXE;
const std::string MediaDir = TAVI_MEDIA_DIR;
constexpr uid_t Nobody = 65534;
constexpr int DemoFrames = 600;

// Menu, instructions, highscore list, a short game without the net (so it scores nothing), the
// name typed and confirmed, the instructions again. Before the Escape that ends the game, a click
// on the instructions button: if the game already ended, the menu leads there instead of the
// Escape ending the program.
const char* const FaultDemo =
    "seed 12345\n"
    "0 move 500 300\n"
    "20 click 480 340\n"
    "120 click 480 700\n"
    "130 move 480 440\n"
    "140 click 480 440\n"
    "230 move 480 610\n"
    "240 click 480 700\n"
    "260 click 480 240\n"
    "261 keys RIGHT\n"
    "280 keys UP\n"
    "300 keys DOWN LEFT\n"
    "320 keys\n"
    "325 click 480 340\n"
    "330 esc\n"
    "340 keys BACK\n"
    "343 keys\n"
    "346 keys T\n"
    "349 keys\n"
    "352 keys A\n"
    "355 keys\n"
    "358 keys V\n"
    "361 keys\n"
    "364 keys I\n"
    "367 keys\n"
    "370 keys RETURN\n"
    "374 keys\n"
    "390 click 480 700\n"
    "400 click 480 340\n"
    "560 click 480 700\n"
    "600 quit\n";

// How a media file that cannot be used is reported.
enum class Report {
  Picture,    // "Fehler beim Laden von: <name>" in Error.txt
  Animation,  // "Fehler beim Laden, Animation <name>" in Error.txt
  Quiet,      // the glyph sheet and the sand strip: nothing is reported, they just do not appear
  Effect,     // a line in Error.txt and a message box "AddSound" (standard error on the dummy driver)
  Music,      // missing: a box "AddBackgroundMusic"; unplayable: a line in Error.txt
  WindowIcon, // the window keeps SDL's icon: a line on standard error, none in Error.txt
};

struct MediaFile {
  std::string testName;
  std::string file;  // on disk, UTF-8
  const char* name;  // as the game names it, Windows-1252
  Report report;
};

// Names the file in test listings instead of dumping the structure's bytes.
void PrintTo(const MediaFile& media, std::ostream* out) { *out << media.file; }

// A test name from the game's name of the file: "media\\gr\xFC\xDF.wav" would give gruess_wav.
MediaFile Describe(const char* name, Report report) {
  MediaFile media{"", mediagen::MediaFileName(name), name, report};
  for (const char* c = std::strrchr(name, '\\') + 1; *c; ++c) {
    switch (static_cast<unsigned char>(*c)) {
      case 0xE4: media.testName += "ae"; break;
      case 0xF6: media.testName += "oe"; break;
      case 0xFC: media.testName += "ue"; break;
      case 0xDF: media.testName += "ss"; break;
      case '.': media.testName += '_'; break;
      default: media.testName += *c;
    }
  }
  return media;
}

// Every file of the manifest. Placed pictures load as surfaces, which report; the sand strip and
// the glyph sheet are loaded bare and simply do not appear.
std::vector<MediaFile> AllMediaFiles() {
  std::vector<MediaFile> files;
  for (const media::Picture* p : media::Pictures) {
    const Report report = p->Animated() ? Report::Animation : p->placed ? Report::Picture : Report::Quiet;
    files.push_back(Describe(p->file, report));
  }
  for (const media::Sound* effect : media::Effects) files.push_back(Describe(effect->file, Report::Effect));
  files.push_back(Describe(media::Music.file, Report::Music));
  files.push_back(Describe(media::WindowIcon.file, Report::WindowIcon));
  return files;
}
const std::vector<MediaFile> MediaFiles = AllMediaFiles();

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = Lines(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStartingWith(const std::string& text, const std::string& prefix) {
  for (const std::string& line : Lines(text)) {
    if (line.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

// Bytes that are no picture, wave or MIDI file: the same every run.
std::string Garbage(std::size_t size) {
  std::string bytes = "Kein Bild, kein Klang. ";
  std::uint32_t state = 0x9E3779B9u;
  while (bytes.size() < size) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    bytes.push_back(static_cast<char>(state & 0xFF));
  }
  bytes.resize(size);
  return bytes;
}

// One 16-byte highscore record.
std::string Record(const std::string& name, std::int32_t score) {
  std::string r = name;
  r.resize(12, '\0');
  const auto bits = static_cast<std::uint32_t>(score);
  for (int b = 0; b < 4; ++b) r.push_back(static_cast<char>((bits >> (8 * b)) & 0xFF));
  return r;
}

struct RunResult {
  bool finished = false;  // ended by itself, not killed by the watchdog
  int exitStatus = -1;    // when it exited; -1 when a signal ended it
  int signal = 0;
  long maxRssKb = 0;  // the peak resident memory of the game
  std::string out;
  std::string err;
  std::string errorFile;  // Error.txt, or empty when there is none
  bool errorFileExists = false;
  std::vector<std::string> trace;

  int TraceScreen(std::size_t frame) const {
    if (frame >= trace.size()) return -1;
    const std::size_t space = trace[frame].find(' ');
    return space == std::string::npos ? -1 : std::atoi(trace[frame].c_str() + space + 1);
  }
  bool VisitedScreen(int screen) const {
    for (std::size_t f = 0; f < trace.size(); ++f) {
      if (TraceScreen(f) == screen) return true;
    }
    return false;
  }
};

std::ostream& operator<<(std::ostream& os, const RunResult& r) {
  return os << "finished " << r.finished << ", exit " << r.exitStatus << ", signal " << r.signal << ", "
            << r.trace.size() << " frames\n--- stderr ---\n"
            << r.err.substr(0, 4000) << "\n--- Error.txt ---\n"
            << r.errorFile.substr(0, 2000);
}

struct RunOptions {
  bool unprivileged = false;    // as the user nobody (when the test runs as root)
  bool hideSoundfonts = false;  // an empty /usr/share/sounds in a mount namespace of its own
  std::vector<std::string> extraOptions;
};

RunOptions AsNobody() {
  RunOptions options;
  options.unprivileged = true;
  return options;
}

RunOptions Headless() {
  RunOptions options;
  options.extraOptions = {"--headless"};
  return options;
}

// The status of a child that could not hide the soundfonts.
constexpr int CannotHideSoundfonts = 124;

// A private installation: bin/ holds the game (with no media beside it), work/ is its working
// directory, out/ takes its trace and output. Everything is readable by the unprivileged user.
class FaultRig {
 public:
  FaultRig() {
    char pattern[] = "/tmp/tavi-fault-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) return;
    root_ = made;
    ::chmod(root_.c_str(), 0755);
    fs::create_directory(Bin());
    fs::create_directory(Work());
    fs::create_directory(Out());
    ::chmod(Out().c_str(), 0777);
    // A hard link keeps the executable's own directory ours and costs nothing; a copy otherwise.
    if (::link(Executable.c_str(), Game().c_str()) != 0) fs::copy_file(Executable, Game());
    ::chmod(Game().c_str(), 0755);
    std::ofstream(DemoPath()) << FaultDemo;
  }
  ~FaultRig() {
    if (root_.empty()) return;
    std::error_code error;
    // Give back what a test made read-only, so that everything can be removed.
    for (auto it = fs::recursive_directory_iterator(root_, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
      if (it->is_directory(error)) ::chmod(it->path().c_str(), 0755);
    }
    ::chmod(Work().c_str(), 0755);
    fs::remove_all(root_, error);
  }
  FaultRig(const FaultRig&) = delete;
  FaultRig& operator=(const FaultRig&) = delete;

  bool Ready() const { return !root_.empty() && fs::exists(Game()); }
  fs::path Bin() const { return root_ / "bin"; }
  fs::path Game() const { return Bin() / "tavi"; }
  fs::path Work() const { return root_ / "work"; }
  fs::path Out() const { return root_ / "out"; }
  fs::path DemoPath() const { return root_ / "fault.demo"; }
  fs::path Media() const { return Work() / "media"; }

  void CopyMedia() {
    fs::create_directory(Media());
    for (const auto& entry : fs::directory_iterator(MediaDir)) {
      if (entry.is_regular_file() && entry.path().filename() != ".stamp") {
        fs::copy_file(entry.path(), Media() / entry.path().filename());
      }
    }
  }

  // Runs the game on the demo.
  RunResult Run(const std::map<std::string, std::string>& environment = {}, const RunOptions& options = {}) {
    const fs::path outFile = Out() / "stdout.txt";
    const fs::path errFile = Out() / "stderr.txt";
    const fs::path traceFile = Out() / "trace.txt";
    fs::remove(traceFile);
    std::vector<std::string> args = {Game().string(), "--timedemo", DemoPath().string(), "--trace",
                                     traceFile.string()};
    args.insert(args.end(), options.extraOptions.begin(), options.extraOptions.end());

    const pid_t pid = fork();
    if (pid == 0) {
      ::setenv("SDL_VIDEODRIVER", "dummy", 1);
      ::setenv("SDL_AUDIODRIVER", "dummy", 1);
      ::unsetenv("SDL_SOUNDFONTS");
      for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
      const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) _exit(120);
      if (::chdir(Work().c_str()) != 0) _exit(121);
      if (options.hideSoundfonts &&
          (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
           ::mount("tmpfs", "/usr/share/sounds", "tmpfs", 0, nullptr) != 0)) {
        _exit(CannotHideSoundfonts);
      }
      if (options.unprivileged && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0 ||
            ::setresuid(Nobody, Nobody, Nobody) != 0) {
          _exit(122);
        }
      }
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      _exit(123);
    }
    RunResult result;
    if (pid < 0) return result;
    // A deadline for a hung game, so that a freeze fails the test instead of stalling the suite.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int status = 0;
    struct rusage usage {};
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        result.finished = false;
        result.err = ReadAll(errFile);
        return result;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.finished = true;
    result.maxRssKb = usage.ru_maxrss;
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.out = ReadAll(outFile);
    result.err = ReadAll(errFile);
    std::error_code error;
    result.errorFileExists = fs::is_regular_file(Work() / "Error.txt", error);
    if (result.errorFileExists) result.errorFile = ReadAll(Work() / "Error.txt");
    result.trace = Lines(ReadAll(traceFile));
    return result;
  }

 private:
  fs::path root_;
};

// Status 0 and the whole demo played: the program neither crashed, nor hung, nor gave up early.
void ExpectPlayedToTheEnd(const RunResult& run) {
  ASSERT_TRUE(run.finished) << "the game hung\n" << run;
  EXPECT_EQ(run.signal, 0) << run;
  EXPECT_EQ(run.exitStatus, 0) << run;
  EXPECT_EQ(run.trace.size(), static_cast<std::size_t>(DemoFrames)) << run;
  EXPECT_NE(run.out.find("timedemo: 600 frames"), std::string::npos) << run;
}

// Every Error.txt line that names a media file names `allowed` (nothing else failed on the way).
void ExpectOnlyMediaNamed(const RunResult& run, const std::string& allowed) {
  for (const std::string& line : Lines(run.errorFile)) {
    if (line.find("media\\") != std::string::npos) {
      EXPECT_NE(line.find(allowed), std::string::npos) << "unexpected report: " << line;
    }
  }
}

// The name as it appears on standard error, in UTF-8.
std::string Utf8Name(const MediaFile& media) { return "media\\" + media.file; }

void ExpectReported(const RunResult& run, const MediaFile& media, bool fileExists) {
  switch (media.report) {
    case Report::Picture:
      EXPECT_TRUE(HasLine(run.errorFile, std::string("Fehler beim Laden von: ") + media.name)) << run;
      EXPECT_NE(run.err.find("Fehler beim Laden von: " + Utf8Name(media)), std::string::npos) << run;
      break;
    case Report::Animation:
      EXPECT_TRUE(HasLine(run.errorFile, std::string("Fehler beim Laden, Animation ") + media.name)) << run;
      break;
    case Report::Quiet:
      EXPECT_EQ(run.errorFile.find(media.name), std::string::npos) << run;
      break;
    case Report::WindowIcon:
      EXPECT_EQ(run.errorFile.find(media.name), std::string::npos) << run;
      EXPECT_NE(run.err.find("SDL-Fenstersymbol: "), std::string::npos) << run;
      break;
    case Report::Effect:
      EXPECT_TRUE(HasLine(run.errorFile, std::string("Fehler beim Laden der Datei: ") + media.name)) << run;
      EXPECT_NE(run.err.find("AddSound: Fehler beim Laden der Datei: " + Utf8Name(media)), std::string::npos) << run;
      break;
    case Report::Music:
      if (fileExists) {
        EXPECT_TRUE(HasLineStartingWith(run.errorFile, std::string("Musik konnte nicht geladen werden: ") + media.name))
            << run;
      } else {
        EXPECT_NE(run.err.find("AddBackgroundMusic: Fehler beim Laden der Datei: " + Utf8Name(media)), std::string::npos)
            << run;
      }
      break;
  }
}

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rig.Ready()) << "cannot set up a private copy of " << Executable; }
  FaultRig rig;
};

TEST_F(FaultTest, IntactMediaPlaysWithoutAnyReport) {
  rig.CopyMedia();
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_FALSE(run.errorFileExists) << run;
  // The demo went where it was meant to: instructions, highscore list and a game.
  EXPECT_TRUE(run.VisitedScreen(1) && run.VisitedScreen(2) && run.VisitedScreen(4)) << run;
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat").size(), 160u);
}

TEST_F(FaultTest, NoMediaDirectoryReportsEveryFileAndPlays) {
  if (fs::exists(TAVI_DATADIR "/media")) GTEST_SKIP() << "an installed copy of the media would be found";
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  for (const MediaFile& media : MediaFiles) {
    if (media.report == Report::Picture || media.report == Report::Animation) {
      ExpectReported(run, media, false);
    }
  }
  EXPECT_NE(run.err.find("AddSound: Fehler beim Laden der Datei"), std::string::npos) << run;
  EXPECT_EQ(run.err.find("AddSound", run.err.find("AddSound") + 1), std::string::npos) << "one box for all effects";
  EXPECT_NE(run.err.find("AddBackgroundMusic: Fehler beim Laden der Datei"), std::string::npos) << run;
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat").size(), 160u);
}

class MediaFault : public ::testing::TestWithParam<MediaFile> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.Ready());
    rig.CopyMedia();
  }
  FaultRig rig;
};

TEST_P(MediaFault, MissingFileIsReportedAndTheGamePlays) {
  const MediaFile& media = GetParam();
  ASSERT_TRUE(fs::remove(rig.Media() / media.file));
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  ExpectReported(run, media, false);
  ExpectOnlyMediaNamed(run, media.name);
}

TEST_P(MediaFault, GarbageFileIsReportedAndTheGamePlays) {
  const MediaFile& media = GetParam();
  const fs::path file = rig.Media() / media.file;
  WriteAll(file, Garbage(fs::file_size(file)));
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  ExpectReported(run, media, true);
  ExpectOnlyMediaNamed(run, media.name);
}

INSTANTIATE_TEST_SUITE_P(EachFile, MediaFault, ::testing::ValuesIn(MediaFiles),
                         [](const ::testing::TestParamInfo<MediaFile>& info) { return info.param.testName; });

TEST_F(FaultTest, EffectThatIsNoWaveIsRefusedWithoutALeak) {
  rig.CopyMedia();
  // An AIFF file under a wave's name whose frame count promises more than it holds: SDL_mixer's
  // AIFF loader would keep the 2 MB it took for the samples.
  const std::string comm = std::string("COMM\0\0\0\x12", 8) + std::string("\0\x01", 2) +  // mono
                           std::string("\0\x10\0\0", 4) +                                   // 1 Mi frames
                           std::string("\0\x10", 2) +                                         // 16 bits
                           std::string("\x40\x0D\xAC\x44\0\0\0\0\0\0", 10);             // 44100 Hz
  const std::string ssnd = std::string("SSND\0\0\0\x18\0\0\0\0\0\0\0\0", 16) + Garbage(16);
  const std::string body = "AIFF" + comm + ssnd;
  std::string aiff = "FORM";
  const auto size = static_cast<std::uint32_t>(body.size());
  for (int shift = 24; shift >= 0; shift -= 8) aiff.push_back(static_cast<char>((size >> shift) & 0xFF));
  WriteAll(rig.Media() / mediagen::MediaFileName(media::FishSound.file), aiff + body);
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);  // the sanitizer build ends with another status on a leak
  EXPECT_NE(run.err.find("AddSound: Fehler beim Laden der Datei"), std::string::npos) << run;
}

TEST_F(FaultTest, EffectClaimingOneHertzIsRefusedBeforeItTakesGigabytes) {
  rig.CopyMedia();
  // 50 KB of samples at 1 Hz: converted to 44.1 kHz they would fill more than 2 GB.
  const std::string samples = Garbage(50000);
  std::string format = "fmt ";
  const std::uint32_t fields[] = {16, 1 | 1u << 16, 1, 2, 2 | 16u << 16};  // size, PCM mono, 1 Hz, ...
  for (const std::uint32_t field : fields) {
    for (int b = 0; b < 4; ++b) format.push_back(static_cast<char>((field >> (8 * b)) & 0xFF));
  }
  std::string data = "data";
  for (int b = 0; b < 4; ++b) data.push_back(static_cast<char>((samples.size() >> (8 * b)) & 0xFF));
  const std::string body = "WAVE" + format + data + samples;
  std::string wave = "RIFF";
  for (int b = 0; b < 4; ++b) wave.push_back(static_cast<char>((body.size() >> (8 * b)) & 0xFF));
  WriteAll(rig.Media() / mediagen::MediaFileName(media::FishSound.file), wave + body);
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_NE(run.err.find("AddSound: Fehler beim Laden der Datei"), std::string::npos) << run;
  EXPECT_LT(run.maxRssKb, 256 * 1024) << "the game took " << run.maxRssKb / 1024 << " MB";
}

// A device or an oversized file as the demo, effect or music, and FIFOs as a picture and the error
// file: nothing blocks or fills the memory, each is refused by name, and the game plays.
TEST_F(FaultTest, DemoThatIsADeviceOrTooLargeIsRefusedByName) {
  rig.CopyMedia();
  fs::remove(rig.DemoPath());
  fs::create_symlink("/dev/zero", rig.DemoPath());
  RunResult run = rig.Run({}, Headless());
  ASSERT_TRUE(run.finished) << run;
  EXPECT_EQ(run.exitStatus, 0) << run;
  EXPECT_NE(run.err.find("fault.demo: not a regular file; the demo is not played"), std::string::npos) << run;
  EXPECT_LT(run.maxRssKb, 256 * 1024) << "the game took " << run.maxRssKb / 1024 << " MB";
  fs::remove(rig.DemoPath());
  std::ofstream(rig.DemoPath()) << FaultDemo;
  fs::resize_file(rig.DemoPath(), (16 << 20) + 1);
  run = rig.Run({}, Headless());
  EXPECT_EQ(run.exitStatus, 0) << run;
  EXPECT_NE(run.err.find("fault.demo: larger than 16 MiB"), std::string::npos) << run;
}

TEST_F(FaultTest, EffectAndMusicThatAreADeviceAreRefusedByName) {
  rig.CopyMedia();
  for (const char* name : {media::FishSound.file, media::Music.file}) {
    fs::remove(rig.Media() / mediagen::MediaFileName(name));
    fs::create_symlink("/dev/zero", rig.Media() / mediagen::MediaFileName(name));
  }
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(HasLine(run.errorFile, std::string("Fehler beim Laden der Datei: ") + media::FishSound.file)) << run;
  EXPECT_TRUE(HasLine(run.errorFile, std::string("Musik konnte nicht geladen werden: ") + media::Music.file +
                                         ": not a regular file")) << run;
  EXPECT_LT(run.maxRssKb, 256 * 1024) << "the game took " << run.maxRssKb / 1024 << " MB";
}

TEST_F(FaultTest, FifosAsAPictureAndAsTheErrorFileBlockNothing) {
  rig.CopyMedia();
  const fs::path shark = rig.Media() / mediagen::MediaFileName(media::Shark.file);
  fs::remove(shark);
  ASSERT_EQ(::mkfifo(shark.c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((rig.Work() / "Error.txt").c_str(), 0644), 0);
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_NE(run.err.find(std::string("Fehler beim Laden, Animation ") + media::Shark.file), std::string::npos) << run;
  EXPECT_EQ(fs::status(rig.Work() / "Error.txt").type(), fs::file_type::fifo);
}

TEST_F(FaultTest, MalformedDemoLinesNeverCrashTheGame) {
  rig.CopyMedia();
  // Lines of white space other than blanks and tabs are blank lines.
  WriteAll(rig.DemoPath(), std::string("seed 5\n\f\n\v\n\r\r\n") + FaultDemo);
  ExpectPlayedToTheEnd(rig.Run());
  // A demo with a malformed line is not played at all; the program says so and ends normally.
  WriteAll(rig.DemoPath(), "0 move 1\n600 quit\n");
  const RunResult refused = rig.Run({}, Headless());
  ASSERT_TRUE(refused.finished) << refused;
  EXPECT_EQ(refused.exitStatus, 0) << refused;
  EXPECT_NE(refused.err.find("fault.demo:1: move needs X and Y"), std::string::npos) << refused;
}

TEST_F(FaultTest, ReadOnlyWorkingDirectoryKeepsTheStoredListAndPlays) {
  rig.CopyMedia();
  // A list whose last entry is below zero, so that the demo's pointless game still enters a name.
  std::string stored;
  for (int k = 0; k < 9; ++k) stored += Record("alt", 50 - k);
  stored += Record("letzte", -1);
  WriteAll(rig.Work() / "Highscore.dat", stored);
  ASSERT_EQ(::chmod(rig.Work().c_str(), 0555), 0);

  const RunResult run = rig.Run({}, AsNobody());
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(run.VisitedScreen(3)) << "the name entry was not reached\n" << run;
  EXPECT_NE(run.err.find("Highscore konnte nicht gespeichert werden"), std::string::npos) << run;
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat"), stored);
  EXPECT_FALSE(run.errorFileExists);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(rig.Work())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Highscore.dat", "media"})) << "a temporary file was left behind";
}

TEST_F(FaultTest, ReadOnlyWorkingDirectoryWithoutAListPlaysWithACleanOne) {
  rig.CopyMedia();
  ASSERT_EQ(::chmod(rig.Work().c_str(), 0555), 0);
  const RunResult run = rig.Run({}, AsNobody());
  ExpectPlayedToTheEnd(run);
  EXPECT_NE(run.err.find("Highscore konnte nicht ge\xC3\xB6" "ffnet werden"), std::string::npos) << run;  // geöffnet
  EXPECT_FALSE(fs::exists(rig.Work() / "Highscore.dat"));
}

TEST_F(FaultTest, ErrorFileThatIsADirectoryLeavesReportsOnStandardError) {
  rig.CopyMedia();
  fs::remove(rig.Media() / mediagen::MediaFileName(media::Title.file));
  fs::create_directory(rig.Work() / "Error.txt");
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_NE(run.err.find(std::string("Fehler beim Laden von: ") + media::Title.file), std::string::npos) << run;
  EXPECT_TRUE(fs::is_directory(rig.Work() / "Error.txt"));
  EXPECT_TRUE(fs::is_empty(rig.Work() / "Error.txt"));
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat").size(), 160u);
}

TEST_F(FaultTest, ReadOnlyErrorFileIsLeftAsItWas) {
  rig.CopyMedia();
  fs::remove(rig.Media() / mediagen::MediaFileName(media::Title.file));
  const std::string earlier = "Fehler beim Laden von: media\\alt.bmp\n";
  WriteAll(rig.Work() / "Error.txt", earlier);
  ASSERT_EQ(::chmod((rig.Work() / "Error.txt").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(rig.Work().c_str(), 0777), 0);  // the list can still be written
  const RunResult run = rig.Run({}, AsNobody());
  ExpectPlayedToTheEnd(run);
  EXPECT_NE(run.err.find(std::string("Fehler beim Laden von: ") + media::Title.file), std::string::npos) << run;
  EXPECT_EQ(run.errorFile, earlier);
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat").size(), 160u);
}

TEST_F(FaultTest, NoAudioDevicePlaysSilently) {
  rig.CopyMedia();
  const RunResult run = rig.Run({{"SDL_AUDIODRIVER", "keines"}});
  ExpectPlayedToTheEnd(run);
  // "Das Spiel läuft ohne Ton: Audiogerät nicht verfügbar: ..."
  EXPECT_TRUE(HasLineStartingWith(run.errorFile, "Das Spiel l\xE4uft ohne Ton: Audioger\xE4t nicht verf\xFCgbar")) << run;
  EXPECT_EQ(run.err.find("AddSound"), std::string::npos) << "no box per effect when there is no device\n" << run;

  const RunResult headless = rig.Run({}, Headless());
  ExpectPlayedToTheEnd(headless);
  EXPECT_TRUE(HasLine(headless.errorFile, "Das Spiel l\xE4uft ohne Ton: kein Audioger\xE4t (headless)")) << headless;
}

TEST_F(FaultTest, MissingSoundfontPlaysWithoutMusic) {
  rig.CopyMedia();
  const RunResult run = rig.Run({{"SDL_SOUNDFONTS", "/nonexistent/keine.sf2"}});
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(HasLineStartingWith(run.errorFile, std::string("Musik konnte nicht geladen werden: ") + media::Music.file)) << run;
}

TEST_F(FaultTest, MachineWithoutAnySoundfontPlaysWithoutMusic) {
  rig.CopyMedia();
  RunOptions options;
  options.hideSoundfonts = true;
  const RunResult run = rig.Run({}, options);
  if (run.finished && run.exitStatus == CannotHideSoundfonts) {
    GTEST_SKIP() << "the soundfonts cannot be hidden here (needs root and mount namespaces)";
  }
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(HasLineStartingWith(run.errorFile, std::string("Musik konnte nicht geladen werden: ") + media::Music.file)) << run;
}

// FluidSynth takes a file that is no soundfont, or a directory, and plays nothing: silence, but
// the game plays on.
TEST_F(FaultTest, SoundfontThatIsNoneStillLetsTheGamePlay) {
  rig.CopyMedia();
  const std::string notASoundfont = (rig.Out() / "kaputt.sf2").string();
  WriteAll(notASoundfont, Garbage(4096));
  for (const std::string& soundfonts : {notASoundfont, rig.Out().string()}) {
    SCOPED_TRACE("SDL_SOUNDFONTS=" + soundfonts);
    ExpectPlayedToTheEnd(rig.Run({{"SDL_SOUNDFONTS", soundfonts}}));
  }
}

// The stored list in its odd forms: the demo's game scores nothing and enters nothing, so the file
// must come out exactly as it went in, after the list was drawn from it.
TEST_F(FaultTest, OddHighscoreFilesAreShownAndKept) {
  rig.CopyMedia();
  std::string full;
  for (int k = 0; k < 10; ++k) full += Record("gut", 100 - k);
  const std::map<std::string, std::string> files = {
      {"empty", ""},
      {"short", full.substr(0, 37)},
      {"huge", std::string(10 * 1024 * 1024, 'x')},  // every score 0x78787878: nothing beats it
  };
  for (const auto& [what, bytes] : files) {
    WriteAll(rig.Work() / "Highscore.dat", bytes);
    fs::remove(rig.Work() / "Error.txt");
    const RunResult run = rig.Run();
    ExpectPlayedToTheEnd(run);
    EXPECT_TRUE(run.VisitedScreen(2)) << what;
    EXPECT_FALSE(run.VisitedScreen(3)) << what << ": the name entry was reached";
    EXPECT_TRUE(ReadAll(rig.Work() / "Highscore.dat") == bytes) << what << ": the stored list changed";
    EXPECT_FALSE(run.errorFileExists) << what << "\n" << run;
  }
}

TEST_F(FaultTest, HighscoreFileThatIsADirectoryIsReportedAndLeftAlone) {
  rig.CopyMedia();
  fs::create_directory(rig.Work() / "Highscore.dat");
  WriteAll(rig.Work() / "Highscore.dat" / "inhalt", "bleibt");
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(HasLine(run.errorFile, "Highscore konnte nicht ge\xF6" "ffnet werden")) << run;  // geöffnet
  EXPECT_TRUE(fs::is_directory(rig.Work() / "Highscore.dat"));
  EXPECT_EQ(ReadAll(rig.Work() / "Highscore.dat" / "inhalt"), "bleibt");
}

}  // namespace
}  // namespace tavi
