#pragma once
// Spreads work on rows that do not depend on each other over the machine's cores.
// Each row is computed by the same code whichever thread takes it, so the result is
// the same for every thread count.

#include "filters/shared/pixels/PixelRows.h"

#include <functional>

// Bands per thread: enough that a thread slowed by the rest of the machine hands its
// share to the others, few enough that each band is worth the hand-over.
inline constexpr int kRowBandsPerThread = 16;

// The count set last with SetKernelThreadCount; else BASICFILTERS_THREADS when it
// holds a number from 1 to 256, else the processor's cores (at least 1), read once.
int KernelThreadCount();

// The count a text such as BASICFILTERS_THREADS's gives: a whole number from 1 to
// 256, else fallback (also for a missing text).
int ThreadCountOf(const char* text, int fallback);

// Sets the count KernelThreadCount answers from now on, held in 1 .. 256 (for hosts
// that take a count from their user, and for tests); 0 goes back to the default.
void SetKernelThreadCount(int threads);

// Runs work(first, last) on bands of rows that cover 0 .. rows - 1 once each.
// With one thread the rows go in order on the calling thread, report(y, rows) told
// before row y as a plain loop tells it. With more, the calling thread and threads of
// the kernels' pool (KernelThreadPool.h; none while the pool serves another call)
// take bands as they finish others; only the calling thread reports, with the rows
// finished so far, between its bands, so a host's progress sink is never called from
// another thread. A false answer stops the handing out of bands; the call then
// answers false once every band begun has ended. An exception from work stops the
// handing out as well and leaves the call, on the calling thread, once every band
// begun has ended.
bool ForEachRowBand(int rows, const UnitReport& report, const std::function<void(int first, int last)>& work,
                    int threads = KernelThreadCount());
