#include "platform/stop_signals.h"

#include <signal.h>

#include <csignal>
#include <initializer_list>

namespace tavi {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void OnStopSignal(int) { stopRequested = 1; }

}  // namespace

void InstallStopSignals() {
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction old {};
    if (::sigaction(number, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Back to the default after the first: a game stuck where it cannot end can still be stopped.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    ::sigaction(number, &action, nullptr);
  }
}

bool TakeStopSignal() {
  if (stopRequested == 0) return false;
  stopRequested = 0;
  return true;
}

}  // namespace tavi
