#pragma once

#include <cstdint>

namespace tavi {

// The program's one pseudo-random generator: state = state * 214013 + 2531011, draws 0..32767.
class Random {
 public:
  void Seed(std::uint32_t seed) { state_ = seed; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 0;
};

}  // namespace tavi
