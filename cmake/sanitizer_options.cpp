// Linked into every executable of the sanitizer build: LeakSanitizer reads the suppressions of
// leaks inside system libraries without anyone having to set LSAN_OPTIONS.
#ifndef TAVI_LSAN_SUPPRESSIONS
#error "TAVI_LSAN_SUPPRESSIONS must name the suppression file"
#endif

extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0:suppressions=" TAVI_LSAN_SUPPRESSIONS;
}
