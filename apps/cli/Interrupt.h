#pragma once
// Ctrl-C, a closed terminal or a polite kill as the tool's commands take them: a
// request to stop at the next step, so that nothing half-done is written, rather
// than the end of the process.

#include <atomic>
#include <string>

// From now on SIGINT, SIGHUP and SIGTERM set the flag instead of ending the process.
void CatchInterrupt();
const std::atomic<bool>& InterruptRequested();

// Once written has been written whole: a stop that arrived meanwhile (after the last
// step that could heed it) ends the process the way its signal would have.
void EndIfInterrupted(const std::string& written);
