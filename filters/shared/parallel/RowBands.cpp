#include "filters/shared/parallel/RowBands.h"

#include "filters/shared/parallel/KernelThreadPool.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

namespace {

constexpr int kMostThreads = 256;

int ThreadsFromEnvironment()
{
    return ThreadCountOf(std::getenv("BASICFILTERS_THREADS"),
                         std::max(1, static_cast<int>(std::thread::hardware_concurrency())));
}

bool InOrder(int rows, const UnitReport& report, const std::function<void(int first, int last)>& work)
{
    for (int y = 0; y < rows; ++y) {
        if (report && !report(y, rows)) return false;
        work(y, y + 1);
    }
    return true;
}

class CBandQueue {
public:
    CBandQueue(int rows, int threads)
        : m_rows(rows), m_band(std::max(1, rows / (threads * kRowBandsPerThread)))
    {
    }

    // Takes bands until none is left or the work was stopped. What a band throws
    // (memory running out) stops the others and waits for the calling thread, since
    // an exception leaving a thread's function ends the process.
    void Drain(const std::function<void(int first, int last)>& work)
    {
        try {
            for (;;) {
                const int first = m_next.fetch_add(m_band);
                if (first >= m_rows || m_stopped.load()) return;
                const int last = std::min(first + m_band, m_rows);
                work(first, last);
                m_finished.fetch_add(last - first);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(m_failureLock);
            if (!m_failure) m_failure = std::current_exception();
            m_stopped.store(true);
        }
    }

    // Stops the handing out of bands, for a calling thread leaving by an exception.
    void Stop() { m_stopped.store(true); }

    // Throws again what a helper's band threw, once every helper has ended.
    void RethrowFailure()
    {
        if (m_failure) std::rethrow_exception(m_failure);
    }

    // The calling thread's share: a report before each band it takes.
    bool DrainReporting(const UnitReport& report, const std::function<void(int first, int last)>& work)
    {
        for (;;) {
            if (report && !report(m_finished.load(), m_rows)) {
                m_stopped.store(true);
                return false;
            }
            const int first = m_next.fetch_add(m_band);
            if (first >= m_rows || m_stopped.load()) return true;
            const int last = std::min(first + m_band, m_rows);
            work(first, last);
            m_finished.fetch_add(last - first);
        }
    }

private:
    const int m_rows;
    const int m_band;
    std::atomic<int> m_next{0};
    std::atomic<int> m_finished{0};
    std::atomic<bool> m_stopped{false};
    std::mutex m_failureLock;
    std::exception_ptr m_failure;
};

std::atomic<int> g_setThreads{0};

} // namespace

int ThreadCountOf(const char* text, int fallback)
{
    if (text == nullptr || std::isdigit(static_cast<unsigned char>(*text)) == 0) return fallback;
    char* end = nullptr;
    const long threads = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || threads < 1 || threads > kMostThreads) return fallback;
    return static_cast<int>(threads);
}

int KernelThreadCount()
{
    static const int fromEnvironment = ThreadsFromEnvironment();
    const int set = g_setThreads.load();
    return set > 0 ? set : fromEnvironment;
}

void SetKernelThreadCount(int threads)
{
    g_setThreads.store(threads <= 0 ? 0 : std::min(threads, kMostThreads));
}

bool ForEachRowBand(int rows, const UnitReport& report, const std::function<void(int first, int last)>& work,
                    int threads)
{
    threads = std::clamp(threads, 1, std::max(rows, 1));
    if (threads == 1) return InOrder(rows, report, work);
    CBandQueue queue(rows, threads);
    bool finished = false;
    std::exception_ptr callerFailure;
    CKernelThreadPool::Shared().Run(
        threads - 1, [&queue, &work] { queue.Drain(work); },
        [&] {
            try {
                finished = queue.DrainReporting(report, work);
            } catch (...) {
                queue.Stop();
                callerFailure = std::current_exception();
            }
        });
    if (callerFailure) std::rethrow_exception(callerFailure);
    queue.RethrowFailure();
    return finished;
}
