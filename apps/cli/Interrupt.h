#pragma once
// Ctrl-C as the tool's commands take it: a request to stop at the next step, so that
// nothing half-done is written, rather than the end of the process.

#include <atomic>

// From now on SIGINT sets the flag instead of ending the process.
void CatchInterrupt();
const std::atomic<bool>& InterruptRequested();
