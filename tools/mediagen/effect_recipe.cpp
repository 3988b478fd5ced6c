#include "effect_recipe.h"

#include <cmath>
#include <utility>

#include "line_parser.h"

namespace mediagen {

namespace {

constexpr double MaxFrequency = 20000;

bool ParseWave(const std::string& name, Waveform& wave) {
  static const std::pair<const char*, Waveform> Names[] = {{"sine", Waveform::Sine},
                                                           {"triangle", Waveform::Triangle},
                                                           {"square", Waveform::Square},
                                                           {"saw", Waveform::Saw}};
  for (const auto& [text, value] : Names) {
    if (name == text) {
      wave = value;
      return true;
    }
  }
  return false;
}

bool ParseSetting(const std::string& path, const TextLine& line, EffectRecipe& recipe,
                  std::string& error) {
  const std::string& name = line.words[0];
  const std::size_t argCount = line.words.size() - 1;
  const std::size_t wanted = name == "fade" ? 2 : 1;
  if (!line.keys.empty() || argCount != wanted) {
    error =
        LineError(path, line.number,
                  name + " takes " + std::to_string(wanted) + " number" + (wanted > 1 ? "s" : ""));
    return false;
  }
  double values[2] = {0, 0};
  for (std::size_t i = 0; i < wanted; ++i) {
    if (!ParseNumber(line.words[i + 1], values[i])) {
      error = LineError(path, line.number, "\"" + line.words[i + 1] + "\" is not a number");
      return false;
    }
  }
  auto outside = [&](const char* what) {
    error = LineError(path, line.number, name + " must be " + what);
    return false;
  };
  if (name == "length") {
    if (values[0] < MinEffectSeconds || values[0] > MaxEffectSeconds)
      return outside("0.1 to 1.5 seconds");
    recipe.length = values[0];
  } else if (name == "peak") {
    if (values[0] < MinEffectPeakDb || values[0] > MaxEffectPeakDb)
      return outside("-6 to -1 (dBFS)");
    recipe.peakDb = values[0];
  } else if (name == "fade") {
    // Under a millisecond a fade is a click again.
    if (values[0] < 0.001 || values[1] < 0.001 || values[0] > 0.5 || values[1] > 0.5)
      return outside("two times from 0.001 to 0.5 seconds");
    recipe.fadeIn = values[0];
    recipe.fadeOut = values[1];
  } else {
    if (values[0] < 0 || values[0] > 4294967295.0 || values[0] != std::floor(values[0]))
      return outside("a whole number from 0 to 4294967295");
    recipe.seed = static_cast<std::uint32_t>(values[0]);
  }
  return true;
}

bool ParseLayer(const std::string& path, const TextLine& line, EffectLayer& layer,
                std::string& error) {
  layer = EffectLayer{};
  layer.line = line.number;
  layer.noise = line.words[0] == "noise";
  if (line.words.size() != 1) {
    error = LineError(path, line.number, "\"" + line.words[1] + "\" is not key=value");
    return false;
  }
  std::vector<std::string> allowed = {"at",      "dur", "level",   "attack",  "decay",
                                      "release", "am",  "amdepth", "lowpass", "highpass"};
  if (!layer.noise) allowed.insert(allowed.end(), {"wave", "freq", "to", "glide"});
  if (!CheckKeys(path, line, allowed, error)) return false;
  const bool ok = ReadKey(path, line, "at", 0, MaxEffectSeconds, layer.at, error) &&
                  ReadKey(path, line, "dur", 0, MaxEffectSeconds, layer.dur, error) &&
                  ReadKey(path, line, "level", 0, 10, layer.level, error) &&
                  ReadKey(path, line, "attack", 0.0005, MaxEffectSeconds, layer.attack, error) &&
                  ReadKey(path, line, "decay", 0, 100, layer.decay, error) &&
                  ReadKey(path, line, "release", 0.001, MaxEffectSeconds, layer.release, error) &&
                  ReadKey(path, line, "am", 0, 1000, layer.am, error) &&
                  ReadKey(path, line, "amdepth", 0, 1, layer.amDepth, error) &&
                  ReadKey(path, line, "lowpass", 0, MaxFrequency, layer.lowpass, error) &&
                  ReadKey(path, line, "highpass", 0, MaxFrequency, layer.highpass, error) &&
                  ReadKey(path, line, "freq", 20, MaxFrequency, layer.freq, error) &&
                  ReadKey(path, line, "to", 20, MaxFrequency, layer.to, error) &&
                  ReadKey(path, line, "glide", 0, MaxEffectSeconds, layer.glide, error);
  if (!ok) return false;
  const auto wave = line.keys.find("wave");
  if (wave != line.keys.end() && !ParseWave(wave->second, layer.wave)) {
    error = LineError(path, line.number,
                      "wave=" + wave->second + " is none of sine, triangle, square, saw");
    return false;
  }
  if (!layer.noise && layer.freq == 0) {
    error = LineError(path, line.number, "a tone needs freq=");
    return false;
  }
  if (layer.dur > 0 && layer.dur < layer.attack + layer.release) {
    error = LineError(path, line.number, "dur is shorter than attack and release together");
    return false;
  }
  return true;
}

}  // namespace

bool ParseEffectRecipe(const std::string& text, const std::string& path, EffectRecipe& recipe,
                       std::string& error) {
  recipe = EffectRecipe{};
  std::vector<TextLine> lines;
  if (!SplitText(text, path, lines, error)) return false;
  bool hasLength = false;
  for (const TextLine& line : lines) {
    if (line.words.empty()) {
      error = LineError(path, line.number, "a line must start with a word");
      return false;
    }
    const std::string& word = line.words[0];
    if (word == "length" || word == "peak" || word == "fade" || word == "seed") {
      if (!ParseSetting(path, line, recipe, error)) return false;
      hasLength = hasLength || word == "length";
    } else if (word == "tone" || word == "noise") {
      EffectLayer layer;
      if (!ParseLayer(path, line, layer, error)) return false;
      recipe.layers.push_back(layer);
    } else {
      error = LineError(path, line.number,
                        "unknown word \"" + word + "\" (length, peak, fade, seed, tone, noise)");
      return false;
    }
  }
  if (!hasLength) {
    error = path + ": no \"length\" line";
    return false;
  }
  if (recipe.layers.empty()) {
    error = path + ": no tone or noise line";
    return false;
  }
  if (recipe.fadeIn + recipe.fadeOut > recipe.length) {
    error = path + ": the fades are longer than the effect";
    return false;
  }
  for (const EffectLayer& layer : recipe.layers) {
    if (layer.at >= recipe.length) {
      error = LineError(path, layer.line, "starts after the end of the effect");
      return false;
    }
  }
  return true;
}

bool ReadEffectRecipe(const std::string& path, EffectRecipe& recipe, std::string& error) {
  std::string text;
  return ReadTextFile(path, text, error) && ParseEffectRecipe(text, path, recipe, error);
}

}  // namespace mediagen
