#pragma once
// Holds the kernels' thread count for one test, for the tests that follow reports row
// by row (one thread) or compare counts; the default comes back at the end.

#include "filters/shared/parallel/RowBands.h"

class ScopedKernelThreads {
public:
    explicit ScopedKernelThreads(int threads) { SetKernelThreadCount(threads); }
    ~ScopedKernelThreads() { SetKernelThreadCount(0); }
    ScopedKernelThreads(const ScopedKernelThreads&) = delete;
    ScopedKernelThreads& operator=(const ScopedKernelThreads&) = delete;
};
