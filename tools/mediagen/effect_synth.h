#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "effect_recipe.h"

namespace mediagen {

constexpr int EffectSampleRate = 44100;

// Renders a recipe into mono 16-bit samples normalised to its peak, with its fades applied.
// The same recipe always gives the same samples. False (and a reason) when it would be silent.
bool RenderEffect(const EffectRecipe& recipe, int sampleRate, std::vector<std::int16_t>& samples,
                  std::string& error);

}  // namespace mediagen
