#pragma once

#include <string>

struct stb_vorbis;

namespace tavi {

// A Vorbis recording decoded a piece at a time, so that no more than a piece is ever held: played
// from its start up to the loop's end, then from the loop's start to its end again and again.
// Pieces come out as two channels (a mono recording on both).
class VorbisLoop {
 public:
  VorbisLoop() = default;
  VorbisLoop(const VorbisLoop&) = delete;
  VorbisLoop& operator=(const VorbisLoop&) = delete;
  ~VorbisLoop();

  // The loop runs from `loopStartSeconds` to twice that, or to the recording's end when that comes
  // first. False (and why) when the bytes are no Vorbis recording or the loop starts past its end.
  bool Open(std::string bytes, double loopStartSeconds, std::string& error);
  bool IsOpen() const { return vorbis_ != nullptr; }
  int SampleRate() const { return rate_; }

  // Fills `frames` frames of each channel; fewer only when the recording cannot be read on (then
  // it is closed).
  int Decode(float* left, float* right, int frames);

 private:
  void Close();

  std::string bytes_;  // the decoder reads them in place
  stb_vorbis* vorbis_ = nullptr;
  int rate_ = 0;
  int channels_ = 0;
  unsigned loopStart_ = 0;
  unsigned loopEnd_ = 0;
  unsigned position_ = 0;
};

}  // namespace tavi
