#include "sounds.h"

#include "effect_recipe.h"
#include "effect_synth.h"
#include "picture_table.h"
#include "wav_writer.h"

namespace mediagen {

bool MakeSounds(const std::string& artDir, const std::string& outDir, std::string& error) {
  // Each effect the game loads is made from art/sounds/NAME.sfx into NAME.wav (UTF-8 names).
  for (const tavi::media::Sound* effect : tavi::media::Effects) {
    const std::string fileName = MediaFileName(effect->file);
    const std::string name = fileName.substr(0, fileName.rfind('.'));
    const std::string recipePath = artDir + "/sounds/" + name + ".sfx";
    EffectRecipe recipe;
    if (!ReadEffectRecipe(recipePath, recipe, error)) return false;
    std::vector<std::int16_t> samples;
    std::string reason;
    if (!RenderEffect(recipe, EffectSampleRate, samples, reason)) {
      error = recipePath + ": " + reason;
      return false;
    }
    if (!WriteBytes(outDir + "/" + fileName, EncodeWav(samples, EffectSampleRate), error))
      return false;
  }
  return true;
}

}  // namespace mediagen
