#pragma once

#include <cstdint>

namespace tavi {

// DirectInput scan codes: the codes of the game's key snapshot, whatever the keyboard or pad.
namespace Dik {
constexpr std::uint32_t Escape = 0x01;
constexpr std::uint32_t Back = 0x0E;
constexpr std::uint32_t Tab = 0x0F;
constexpr std::uint32_t P = 0x19;
constexpr std::uint32_t Return = 0x1C;
constexpr std::uint32_t LShift = 0x2A;
constexpr std::uint32_t RShift = 0x36;
constexpr std::uint32_t Space = 0x39;
constexpr std::uint32_t CapsLock = 0x3A;
constexpr std::uint32_t F5 = 0x3F;
constexpr std::uint32_t F9 = 0x43;
constexpr std::uint32_t F11 = 0x57;
constexpr std::uint32_t F12 = 0x58;
constexpr std::uint32_t NumpadEnter = 0x9C;
constexpr std::uint32_t RAlt = 0xB8;  // AltGr on most layouts
constexpr std::uint32_t Pause = 0xC5;
constexpr std::uint32_t Up = 0xC8;
constexpr std::uint32_t Left = 0xCB;
constexpr std::uint32_t Right = 0xCD;
constexpr std::uint32_t Down = 0xD0;
}  // namespace Dik

}  // namespace tavi
