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

}  // namespace tavi::fuzz

#define TAVI_REQUIRE(condition) \
  ((condition) ? static_cast<void>(0) : ::tavi::fuzz::Fail(#condition, __FILE__, __LINE__))
