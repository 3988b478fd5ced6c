#pragma once

namespace tavi {

// The size of every frame the game composes, in pixels. Windows and canvases scale it; nothing
// else names these numbers.
constexpr int FrameWidth = 1024;
constexpr int FrameHeight = 768;

}  // namespace tavi
