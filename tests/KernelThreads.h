#pragma once
// Holds the kernels' thread count for one test that compares counts or needs several
// threads; the count before it comes back at the end.

#include "filters/shared/parallel/RowBands.h"

class ScopedKernelThreads {
public:
    explicit ScopedKernelThreads(int threads) : m_before(KernelThreadCount()) { SetKernelThreadCount(threads); }
    ~ScopedKernelThreads() { SetKernelThreadCount(m_before); }
    ScopedKernelThreads(const ScopedKernelThreads&) = delete;
    ScopedKernelThreads& operator=(const ScopedKernelThreads&) = delete;

private:
    int m_before;
};
