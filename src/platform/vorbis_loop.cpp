#include "platform/vorbis_loop.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/translate.h"
#include "platform/stb_vorbis.h"

namespace tavi {

VorbisLoop::~VorbisLoop() { Close(); }

void VorbisLoop::Close() {
  if (vorbis_ != nullptr) stb_vorbis_close(vorbis_);
  vorbis_ = nullptr;
}

bool VorbisLoop::Open(std::string bytes, double loopStartSeconds, std::string& error) {
  Close();
  bytes_ = std::move(bytes);
  int failure = 0;
  vorbis_ = stb_vorbis_open_memory(reinterpret_cast<const unsigned char*>(bytes_.data()),
                                   static_cast<int>(std::min<std::size_t>(bytes_.size(), 0x7fffffff)), &failure, nullptr);
  if (vorbis_ == nullptr) {
    error = FillIn(Translate("sie ist keine Vorbis-Aufnahme (Fehler %s)"), {std::to_string(failure)});
    return false;
  }
  const stb_vorbis_info info = stb_vorbis_get_info(vorbis_);
  rate_ = static_cast<int>(info.sample_rate);
  channels_ = info.channels;
  const unsigned length = stb_vorbis_stream_length_in_samples(vorbis_);
  const double loopStart = std::round(loopStartSeconds * rate_);
  if (!(loopStart > 0) || loopStart >= length || channels_ < 1) {
    error = Translate("ihre Schleife liegt nicht in der Aufnahme");
    Close();
    return false;
  }
  loopStart_ = static_cast<unsigned>(loopStart);
  loopEnd_ = std::min(2 * loopStart_, length);
  position_ = 0;
  return true;
}

int VorbisLoop::Decode(float* left, float* right, int frames) {
  int done = 0;
  while (vorbis_ != nullptr && done < frames) {
    if (position_ >= loopEnd_) {
      if (stb_vorbis_seek(vorbis_, loopStart_) == 0) break;
      position_ = loopStart_;
    }
    const int wanted = static_cast<int>(std::min<unsigned>(static_cast<unsigned>(frames - done), loopEnd_ - position_));
    float* channels[2] = {left + done, right + done};
    const int got = stb_vorbis_get_samples_float(vorbis_, 2, channels, wanted);
    if (got <= 0) break;
    if (channels_ == 1) std::memcpy(right + done, left + done, sizeof(float) * static_cast<std::size_t>(got));
    position_ += static_cast<unsigned>(got);
    done += got;
  }
  if (done < frames) Close();
  return done;
}

}  // namespace tavi
