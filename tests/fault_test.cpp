// The built game under the faults a player's machine can hand it: media missing or broken, a
// working directory where neither the list nor the error file can be written, no audio device
// (highscore files that cannot be used are highscore_test.cpp's). Each run plays a 600-frame demo
// to its end with the real executable (on SDL's dummy drivers, so nothing needs a display or a
// sound card) and must end with status 0, every frame rendered, the right report in Error.txt or
// on standard error, and nothing stored lost.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/media_manifest.h"
#include "fake_platform.h"
#include "picture_table.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;

const std::string Executable = TAVI_EXE;
const std::string MediaDir = TAVI_MEDIA_DIR;
constexpr int DemoFrames = 600;

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

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

bool HasLineStartingWith(const std::string& text, const std::string& prefix) {
  return ("\n" + text).find("\n" + prefix) != std::string::npos;
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

struct RunResult {
  bool finished = false;  // ended by itself, not killed by the watchdog
  int exitStatus = -1;
  long maxRssKb = 0;  // the peak resident memory of the largest game run so far
  std::string out;
  std::string err;
  std::string errorFile;  // Error.txt, or empty when there is none
  bool errorFileExists = false;
  std::vector<std::string> trace;

  bool VisitedScreen(int screen) const {
    for (const std::string& line : trace) {
      const std::size_t space = line.find(' ');
      if (space != std::string::npos && std::atoi(line.c_str() + space + 1) == screen) return true;
    }
    return false;
  }
};

std::ostream& operator<<(std::ostream& os, const RunResult& r) {
  return os << "finished " << r.finished << ", exit " << r.exitStatus << ", " << r.trace.size()
            << " frames\n--- stderr ---\n" << r.err.substr(0, 4000) << "\n--- Error.txt ---\n"
            << r.errorFile.substr(0, 2000);
}

// Runs the command line after it as the user nobody, for whom file permissions apply.
const char* const AsNobody = "setpriv --reuid 65534 --regid 65534 --clear-groups";

// A private installation: bin/ holds the game (with no media beside it), work/ is its working
// directory, out/ takes its trace and output.
class FaultRig {
 public:
  FaultRig() {
    char pattern[] = "/tmp/tavi-fault-XXXXXX";
    if (!mkdtemp(pattern)) return;
    root_ = pattern;
    for (const fs::path& dir : {Bin(), Work(), Out()}) fs::create_directory(dir);
    ::chmod(root_.c_str(), 0755);  // for the runs as nobody
    ::chmod(Out().c_str(), 0777);
    fs::copy_file(Executable, Game());
    fs::copy_file(TAVI_TEST_DATA "/fault.demo", DemoPath());
  }
  ~FaultRig() {
    std::error_code error;
    if (!root_.empty()) fs::remove_all(root_, error);
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

  // The media, and the marker that keeps work/ a portable game folder when a test breaks them.
  void CopyMedia() {
    fs::copy(MediaDir, Media());
    fs::remove(Media() / ".stamp");
    WriteAll(Work() / "portable.txt", "");
  }

  // Plays the demo in work/ on SDL's dummy drivers with `environment` (NAME=value ...) set and
  // `wrapper` before the game. A game that hangs is killed after two minutes.
  RunResult Run(const std::string& environment = "", const std::string& options = "",
                const std::string& wrapper = "") {
    const fs::path trace = Out() / "trace.txt";
    fs::remove(trace);
    const std::string command =
        "cd '" + Work().string() + "' && env -u SDL_SOUNDFONTS SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " +
        environment + " timeout -s KILL 120 " + wrapper + " '" + Game().string() + "' --timedemo '" +
        DemoPath().string() + "' --trace '" + trace.string() + "' " + options + " >'" + (Out() / "out").string() +
        "' 2>'" + (Out() / "err").string() + "'";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.finished = result.exitStatus != 128 + SIGKILL;
    struct rusage usage {};
    if (getrusage(RUSAGE_CHILDREN, &usage) == 0) result.maxRssKb = usage.ru_maxrss;
    result.out = test::ReadFile(Out() / "out");
    result.err = test::ReadFile(Out() / "err");
    std::error_code error;
    result.errorFileExists = fs::is_regular_file(Work() / "Error.txt", error);
    if (result.errorFileExists) result.errorFile = test::ReadFile(Work() / "Error.txt");
    result.trace = test::ReadLines(trace);
    return result;
  }

 private:
  fs::path root_;
};

// Status 0 and the whole demo played: the program neither crashed, nor hung, nor gave up early.
void ExpectPlayedToTheEnd(const RunResult& run) {
  ASSERT_TRUE(run.finished) << "the game hung\n" << run;
  EXPECT_EQ(run.exitStatus, 0) << run;
  EXPECT_EQ(run.trace.size(), static_cast<std::size_t>(DemoFrames)) << run;
  EXPECT_NE(run.out.find("timedemo: 600 frames"), std::string::npos) << run;
}

// Every Error.txt line that names a media file names `allowed` (nothing else failed on the way).
void ExpectOnlyMediaNamed(const RunResult& run, const std::string& allowed) {
  std::istringstream lines(run.errorFile);
  for (std::string line; std::getline(lines, line);) {
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
      // Drawn on the instructions screen: the empty sheet is named once, not every frame.
      EXPECT_TRUE(HasLine(run.errorFile, std::string("Surface=NULL: ") + media.name)) << run;
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
  EXPECT_EQ(test::ReadFile(rig.Work() / "Highscore.dat").size(), 160u);
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

// One file per kind of report: the files of a kind share their loading code. Those with
// Windows-1252 names also check the conversion of media names to UTF-8 file names.
std::vector<MediaFile> OnePerReport() {
  std::vector<MediaFile> chosen;
  for (const MediaFile& media : MediaFiles) {
    for (const char* name : {"loeschen_bmp", "giftfass_bmp", "schrift_bmp", "fass_wav", "background_mid", "icon_bmp"})
      if (std::string(media.testName) == name) chosen.push_back(media);
  }
  return chosen;
}

INSTANTIATE_TEST_SUITE_P(EachReport, MediaFault, ::testing::ValuesIn(OnePerReport()),
                         [](const ::testing::TestParamInfo<MediaFile>& info) { return std::string(info.param.testName); });

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

// A device or an oversized file as the demo, effects or music, and FIFOs as a picture and the
// error file: nothing blocks or fills the memory, each is refused by name, and the game plays.
TEST_F(FaultTest, DemoThatIsADeviceOrTooLargeIsRefusedByName) {
  rig.CopyMedia();
  fs::remove(rig.DemoPath());
  fs::create_symlink("/dev/zero", rig.DemoPath());
  RunResult run = rig.Run("", "--headless");
  EXPECT_EQ(run.exitStatus, 1) << run;  // a refused demo, and nothing played in its place
  EXPECT_NE(run.err.find("fault.demo: keine gew\xC3\xB6hnliche Datei"), std::string::npos) << run;
  EXPECT_LT(run.maxRssKb, 256 * 1024) << "the game took " << run.maxRssKb / 1024 << " MB";
  fs::remove(rig.DemoPath());
  fs::copy_file(TAVI_TEST_DATA "/fault.demo", rig.DemoPath());
  fs::resize_file(rig.DemoPath(), (16 << 20) + 1);
  run = rig.Run("", "--headless");
  EXPECT_EQ(run.exitStatus, 1) << run;
  EXPECT_NE(run.err.find("fault.demo: gr\xC3\xB6\xC3\x9F" "er als 16 MiB"), std::string::npos) << run;
}

TEST_F(FaultTest, EffectsAndMusicThatAreADeviceAreRefusedByNameWithOneBox) {
  rig.CopyMedia();
  for (const char* name : {media::FishSound.file, media::SharkSound.file, media::Music.file}) {
    fs::remove(rig.Media() / mediagen::MediaFileName(name));
    fs::create_symlink("/dev/zero", rig.Media() / mediagen::MediaFileName(name));
  }
  const RunResult run = rig.Run();
  ExpectPlayedToTheEnd(run);
  for (const char* name : {media::FishSound.file, media::SharkSound.file})
    EXPECT_TRUE(HasLine(run.errorFile, std::string("Fehler beim Laden der Datei: ") + name)) << run;
  EXPECT_EQ(run.err.find("AddSound", run.err.find("AddSound") + 1), std::string::npos) << "one box for all effects";
  EXPECT_TRUE(HasLine(run.errorFile, std::string("Musik konnte nicht geladen werden: ") + media::Music.file +
                                         ": keine gew\xF6hnliche Datei")) << run;
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

TEST_F(FaultTest, NoAudioDevicePlaysSilently) {
  rig.CopyMedia();
  const RunResult run = rig.Run("SDL_AUDIODRIVER=keines");
  ExpectPlayedToTheEnd(run);
  // "Das Spiel läuft ohne Ton: Audiogerät nicht verfügbar: ..."
  EXPECT_TRUE(HasLineStartingWith(run.errorFile, "Das Spiel l\xE4uft ohne Ton: Audioger\xE4t nicht verf\xFCgbar")) << run;
  EXPECT_EQ(run.err.find("AddSound"), std::string::npos) << "no box per effect when there is no device\n" << run;

  // Silence chosen by an option is said on standard error, not kept as a failure.
  fs::remove(rig.Work() / "Error.txt");
  for (const char* option : {"--headless", "--nosound"}) {
    const RunResult quiet = rig.Run("", option);
    ExpectPlayedToTheEnd(quiet);
    EXPECT_NE(quiet.err.find("ohne Ton: "), std::string::npos) << quiet;
    EXPECT_FALSE(quiet.errorFileExists) << quiet;
  }
}

// Without a display SDL would play on its off-screen driver, unseen, until killed: the game says
// why in the player's language, logs it and fails at once. That driver still plays when named.
TEST_F(FaultTest, NoDisplayIsSaidAndEndsTheRunWithAFailure) {
  if (fs::exists("/dev/dri")) GTEST_SKIP() << "SDL could show the game on this machine's DRM device";
  rig.CopyMedia();
  fs::copy(TAVI_LOCALE_DIR, rig.Bin() / "locale", fs::copy_options::recursive);
  const std::string none = "SDL_VIDEODRIVER= WAYLAND_DISPLAY= XDG_RUNTIME_DIR=" + (rig.Out() / "none").string();
  const RunResult unset = rig.Run(none + " DISPLAY=");
  const RunResult wrong = rig.Run(none + " DISPLAY=:65000", "--lang en");
  for (const RunResult* run : {&unset, &wrong}) {
    ASSERT_TRUE(run->finished) << *run;
    EXPECT_EQ(run->exitStatus, 1) << *run;
    EXPECT_TRUE(run->trace.empty()) << *run;
  }
  EXPECT_TRUE(HasLine(unset.errorFile, "Das Spiel kann keinen Bildschirm \xF6" "ffnen: Weder DISPLAY noch "
                                       "WAYLAND_DISPLAY ist gesetzt.")) << unset;
  EXPECT_TRUE(HasLineStartingWith(wrong.err, "The game cannot open a display: the display DISPLAY=:65000 ")) << wrong;
  // That driver loads Mesa's EGL, whose leaks at exit no suppression can name (as on X11).
  ExpectPlayedToTheEnd(rig.Run(none + " SDL_VIDEODRIVER=offscreen SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0"));
}

// A bad settings value is reported once the file has chosen the language, in that language, naming
// the file, the key and the default; the command line's refusals speak the --lang before them.
TEST_F(FaultTest, SettingsAndOptionProblemsAreSaidInThePlayersLanguage) {
  rig.CopyMedia();
  fs::copy(TAVI_LOCALE_DIR, rig.Bin() / "locale", fs::copy_options::recursive);
  const std::string volume = "[sound]\nmusic_volume = laut\n";
  WriteAll(rig.Work() / "tavi.ini", volume);
  const RunResult german = rig.Run("LANGUAGE=fr LANG=fr_FR.UTF-8", "--lang de --frames 1");
  EXPECT_TRUE(HasLine(german.errorFile, "tavi.ini:2: [sound] music_volume = \"laut\" ist keine Zahl von 0 bis 100; "
                                        "es gilt die Voreinstellung 100.")) << german;
  WriteAll(rig.Work() / "tavi.ini", volume + "[language]\nlanguage = fr\n");
  const RunResult french = rig.Run("LANGUAGE=de", "--frames 1");
  EXPECT_TRUE(HasLine(french.errorFile, "tavi.ini:2: [sound] music_volume = \"laut\" n'est pas un nombre de 0 \xE0 "
                                        "100 ; la valeur par d\xE9" "faut 100 s'applique.")) << french;
  const RunResult refused = rig.Run("LANGUAGE=de", "--lang es --seed=-1");
  EXPECT_EQ(refused.exitStatus, 2) << refused;
  EXPECT_TRUE(HasLineStartingWith(refused.err, "tavi: --seed necesita un n\xC3\xBAmero de 0 a 4294967295")) << refused;
  EXPECT_NE(refused.err.find(" jugar sin sonido\n"), std::string::npos) << refused;  // --help's --nosound
}

TEST_F(FaultTest, ReadOnlyWorkingDirectoryKeepsTheStoredListAndPlays) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run the game as a user who may not write there";
  rig.CopyMedia();
  // A list whose last entry is below zero, so that the demo's pointless game still enters a name.
  std::string stored;
  for (int k = 0; k < 10; ++k) {
    std::string record = k < 9 ? "alt" : "letzte";
    record.resize(12, '\0');
    const std::uint32_t score = k < 9 ? 50 - k : 0xFFFFFFFFu;
    for (int b = 0; b < 4; ++b) record.push_back(static_cast<char>(score >> (8 * b)));
    stored += record;
  }
  WriteAll(rig.Work() / "Highscore.dat", stored);
  ASSERT_EQ(::chmod(rig.Work().c_str(), 0555), 0);
  const RunResult run = rig.Run("", "", AsNobody);
  ExpectPlayedToTheEnd(run);
  EXPECT_TRUE(run.VisitedScreen(3)) << "the name entry was not reached\n" << run;
  EXPECT_NE(run.err.find("Highscore konnte nicht gespeichert werden"), std::string::npos) << run;
  EXPECT_EQ(test::ReadFile(rig.Work() / "Highscore.dat"), stored);
  EXPECT_FALSE(run.errorFileExists) << run;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(rig.Work())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Highscore.dat", "media", "portable.txt"})) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tavi
