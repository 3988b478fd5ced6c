#pragma once

namespace tavi {

// TERM, INT and HUP ask the program to end. The platforms turn such a signal into one Close
// window event, so the run ends at the next frame boundary as if the window were closed: trace,
// recorded demo and highscore list complete. A second signal ends the process at once, as
// without these handlers; a signal ignored when the program started (nohup) stays ignored.
void InstallStopSignals();

// True once for each stop signal that arrived since the last call.
bool TakeStopSignal();

}  // namespace tavi
