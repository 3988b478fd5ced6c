#include "sounds.h"

#include "effect_recipe.h"
#include "effect_synth.h"
#include "wav_writer.h"

namespace mediagen {

namespace {

// The five effects the game loads; each is made from art/sounds/NAME.sfx into NAME.wav.
// File names on disk are UTF-8.
const char* const EffectNames[] = {"fisch", "fa\xC3\x9F" /* faß */, "next", "stein", "hai"};

}  // namespace

bool MakeSounds(const std::string& artDir, const std::string& outDir, std::string& error) {
  for (const char* name : EffectNames) {
    const std::string recipePath = artDir + "/sounds/" + name + ".sfx";
    EffectRecipe recipe;
    if (!ReadEffectRecipe(recipePath, recipe, error)) return false;
    std::vector<std::int16_t> samples;
    std::string reason;
    if (!RenderEffect(recipe, EffectSampleRate, samples, reason)) {
      error = recipePath + ": " + reason;
      return false;
    }
    if (!WriteBytes(outDir + "/" + name + ".wav", EncodeWav(samples, EffectSampleRate), error))
      return false;
  }
  return true;
}

}  // namespace mediagen
