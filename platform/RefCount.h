#pragma once
// The interlocked reference count of every counted object of the module.

#include "platform/Unknown.h"

#include <atomic>

class CRefCount {
public:
    ULONG Increment() { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The acquire-release order makes writes of other threads visible to the destroyer.
    ULONG Decrement() { return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1; }
    ULONG Value() const { return m_count.load(std::memory_order_relaxed); }

private:
    std::atomic<ULONG> m_count{1};
};
