#pragma once

// What every fuzz target shares: a property that must hold for every input, checked in every
// build type, ending the run so that libFuzzer (or the corpus replay) reports the input.

#include <cstdio>
#include <cstdlib>

namespace tavi::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
  std::abort();
}

// Counts the inputs that got past a gate; said on standard error when the process ends, so a
// fuzzing run tells how much of it reached the code behind the gate.
struct Tally {
  explicit Tally(const char* what) : what(what) {}
  ~Tally() { std::fprintf(stderr, "tally: %llu %s\n", count, what); }
  Tally(const Tally&) = delete;
  Tally& operator=(const Tally&) = delete;
  const char* what;
  unsigned long long count = 0;
};

}  // namespace tavi::fuzz

#define TAVI_REQUIRE(condition) \
  ((condition) ? static_cast<void>(0) : ::tavi::fuzz::Fail(#condition, __FILE__, __LINE__))
