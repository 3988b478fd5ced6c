#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

enum class Waveform { Sine, Triangle, Square, Saw };

// One voice of an effect: a tone or a noise burst with its envelope and filters.
// Times in seconds, frequencies in Hz; 0 means "off" or "to the end" where noted.
struct EffectLayer {
  int line = 0;  // where it stands in the recipe, for messages
  bool noise = false;
  Waveform wave = Waveform::Sine;
  double at = 0;   // start
  double dur = 0;  // length; 0 = to the end of the effect
  double level = 1;
  double attack = 0.002;   // linear rise
  double decay = 0;        // exponential time constant after the attack; 0 = steady
  double release = 0.005;  // ramp to silence at the end of the layer
  double freq = 0;         // tone: start frequency
  double to = 0;           // tone: end of the glide; 0 = no glide
  double glide = 0;        // tone: glide time; 0 = the whole layer
  double am = 0;           // tremolo rate; 0 = none
  double amDepth = 0;      // tremolo depth 0..1
  double lowpass = 0;      // cut-off; 0 = none
  double highpass = 0;     // cut-off; 0 = none
};

struct EffectRecipe {
  double length = 0;   // seconds
  double peakDb = -3;  // the whole effect is normalised to this peak
  double fadeIn = 0.002;
  double fadeOut = 0.02;
  std::uint32_t seed = 1;  // noise is a fixed sequence from this seed
  std::vector<EffectLayer> layers;
};

// The shortest and longest effect, and the band its peak must lie in.
constexpr double MinEffectSeconds = 0.1;
constexpr double MaxEffectSeconds = 1.5;
constexpr double MinEffectPeakDb = -6;
constexpr double MaxEffectPeakDb = -1;

// Parses a recipe text; `path` names it in errors ("path:line: message").
bool ParseEffectRecipe(const std::string& text, const std::string& path, EffectRecipe& recipe,
                       std::string& error);

bool ReadEffectRecipe(const std::string& path, EffectRecipe& recipe, std::string& error);

}  // namespace mediagen
