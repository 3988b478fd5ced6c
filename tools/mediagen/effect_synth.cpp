#include "effect_synth.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Second-order low- or high-pass (the usual cookbook biquad, Q = 1/sqrt 2).
class Biquad {
 public:
  Biquad(bool highPass, double cutoff, double sampleRate) {
    cutoff = std::min(cutoff, 0.45 * sampleRate);
    const double w0 = 2 * Pi * cutoff / sampleRate;
    const double alpha = std::sin(w0) / (2 * std::sqrt(0.5));
    const double c = std::cos(w0);
    const double a0 = 1 + alpha;
    if (highPass) {
      b0_ = (1 + c) / 2 / a0;
      b1_ = -(1 + c) / a0;
    } else {
      b0_ = (1 - c) / 2 / a0;
      b1_ = (1 - c) / a0;
    }
    b2_ = b0_;
    a1_ = -2 * c / a0;
    a2_ = (1 - alpha) / a0;
  }

  double Step(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// xorshift32: a fixed, portable sequence (the standard library's distributions are not).
class NoiseSource {
 public:
  explicit NoiseSource(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
    if (state_ == 0) state_ = 1;
  }
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483647.5 - 1.0;
  }

 private:
  std::uint32_t state_;
};

// Band-limited waveforms built from their harmonics, so high notes do not alias.
double Oscillator(Waveform wave, double phase, double frequency, double sampleRate) {
  if (wave == Waveform::Sine) return std::sin(phase);
  const int limit = std::max(1, std::min(64, static_cast<int>(0.45 * sampleRate / frequency)));
  double sum = 0;
  for (int k = 1; k <= limit; ++k) {
    const double partial = std::sin(k * phase);
    if (wave == Waveform::Saw) {
      sum += partial / k;
    } else if (k % 2 == 1) {
      if (wave == Waveform::Square)
        sum += partial / k;
      else
        sum += ((k / 2) % 2 == 0 ? 1.0 : -1.0) * partial / (double(k) * k);
    }
  }
  if (wave == Waveform::Saw) return sum * (2 / Pi);
  if (wave == Waveform::Square) return sum * (4 / Pi);
  return sum * (8 / (Pi * Pi));
}

void AddLayer(const EffectLayer& layer, double sampleRate, NoiseSource& noise,
              std::vector<double>& mix) {
  const long total = static_cast<long>(mix.size());
  const long first = std::lround(layer.at * sampleRate);
  long end = layer.dur > 0 ? first + std::lround(layer.dur * sampleRate) : total;
  end = std::min(end, total);
  if (first >= end) return;
  const double layerSeconds = (end - first) / sampleRate;
  const double glide = layer.glide > 0 ? layer.glide : layerSeconds;
  std::vector<Biquad> filters;
  if (layer.highpass > 0) filters.emplace_back(true, layer.highpass, sampleRate);
  if (layer.lowpass > 0) filters.emplace_back(false, layer.lowpass, sampleRate);
  double phase = 0;
  for (long i = first; i < end; ++i) {
    const double t = (i - first) / sampleRate;
    double source = 0;
    if (layer.noise) {
      source = noise.Next();
    } else {
      double frequency = layer.freq;
      if (layer.to > 0) frequency *= std::pow(layer.to / layer.freq, std::min(t / glide, 1.0));
      source = Oscillator(layer.wave, phase, frequency, sampleRate);
      phase = std::fmod(phase + 2 * Pi * frequency / sampleRate, 2 * Pi);
    }
    for (Biquad& filter : filters) source = filter.Step(source);
    double envelope = layer.level;
    if (t < layer.attack)
      envelope *= t / layer.attack;
    else if (layer.decay > 0)
      envelope *= std::exp(-(t - layer.attack) / layer.decay);
    const double remaining = (end - 1 - i) / sampleRate;
    if (remaining < layer.release) envelope *= remaining / layer.release;
    if (layer.am > 0) envelope *= 1 - layer.amDepth * 0.5 * (1 - std::cos(2 * Pi * layer.am * t));
    mix[i] += source * envelope;
  }
}

// Raised-cosine ramps: the first and the last sample are exactly zero.
void ApplyFades(double fadeIn, double fadeOut, double sampleRate, std::vector<double>& mix) {
  const long total = static_cast<long>(mix.size());
  const long in = std::max(2L, std::min(total, std::lround(fadeIn * sampleRate)));
  const long out = std::max(2L, std::min(total, std::lround(fadeOut * sampleRate)));
  for (long i = 0; i < in; ++i) mix[i] *= 0.5 * (1 - std::cos(Pi * i / (in - 1)));
  for (long i = 0; i < out; ++i) mix[total - 1 - i] *= 0.5 * (1 - std::cos(Pi * i / (out - 1)));
}

}  // namespace

bool RenderEffect(const EffectRecipe& recipe, int sampleRate, std::vector<std::int16_t>& samples,
                  std::string& error) {
  const double rate = sampleRate;
  std::vector<double> mix(static_cast<std::size_t>(std::lround(recipe.length * rate)), 0.0);
  if (mix.size() < 4) {
    error = "too short to render";
    return false;
  }
  NoiseSource noise(recipe.seed);
  for (const EffectLayer& layer : recipe.layers) AddLayer(layer, rate, noise, mix);

  // A DC offset would make the start and the end of the effect click.
  double previousIn = 0, previousOut = 0;
  const double pole = 1 - 2 * Pi * 20 / rate;
  for (double& value : mix) {
    const double out = value - previousIn + pole * previousOut;
    previousIn = value;
    previousOut = out;
    value = out;
  }
  ApplyFades(recipe.fadeIn, recipe.fadeOut, rate, mix);

  double peak = 0;
  for (double value : mix) peak = std::max(peak, std::fabs(value));
  if (peak < 1e-9) {
    error = "the effect is silent";
    return false;
  }
  const double scale = std::pow(10.0, recipe.peakDb / 20) * 32767 / peak;
  samples.resize(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i) {
    const double value = std::clamp(std::round(mix[i] * scale), -32767.0, 32767.0);
    samples[i] = static_cast<std::int16_t>(value);
  }
  return true;
}

}  // namespace mediagen
