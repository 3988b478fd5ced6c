#include "music.h"

#include <cstdio>

#include "midi_writer.h"
#include "picture_table.h"
#include "score.h"
#include "wav_writer.h"

namespace mediagen {

namespace {

// The game plays the music in an endless loop; shorter loops soon wear on the ear.
constexpr double MinMusicSeconds = 60;

}  // namespace

bool MakeMusic(const std::string& artDir, const std::string& outDir, std::string& error) {
  const std::string scorePath = artDir + "/music/background.score";
  Score score;
  if (!ReadScore(scorePath, score, error)) return false;
  if (score.LoopSeconds() < MinMusicSeconds) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", score.LoopSeconds());
    error = scorePath + ": the loop lasts " + seconds + " s; the music must last at least 60 s";
    return false;
  }
  return WriteBytes(outDir + "/" + MediaFileName(tavi::media::Music.file), EncodeMidi(score), error);
}

}  // namespace mediagen
