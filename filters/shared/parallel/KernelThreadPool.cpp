#include "filters/shared/parallel/KernelThreadPool.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace {

enum WorkerState : uint32_t { kIdle, kTask, kQuit };

// Long enough to span what a host does between two kernel calls (a copy of a
// 12-megapixel picture took 8 ms here, a parameter text far less), short enough to
// be little beside a filter's run.
constexpr std::chrono::milliseconds kBusyWait{20};

// Waits busy for cond, yielding between looks, for at most kBusyWait: true when it
// came.
template <typename Condition>
bool CameWhileBusy(Condition cond)
{
    const auto until = std::chrono::steady_clock::now() + kBusyWait;
    do {
        if (cond()) return true;
        std::this_thread::yield();
    } while (std::chrono::steady_clock::now() < until);
    return cond();
}

} // namespace

struct CKernelThreadPool::Worker {
    std::atomic<uint32_t> state{kIdle};
    std::thread thread;
};

CKernelThreadPool& CKernelThreadPool::Shared()
{
    static CKernelThreadPool pool;
    return pool;
}

CKernelThreadPool::CKernelThreadPool() = default;

CKernelThreadPool::~CKernelThreadPool()
{
    for (const auto& worker : m_workers) {
        worker->state.store(kQuit, std::memory_order_release);
        worker->state.notify_one();
    }
    for (const auto& worker : m_workers) worker->thread.join();
}

int CKernelThreadPool::Started(int wanted)
{
    // A machine that refuses another thread leaves the work to the ones there are.
    try {
        while (static_cast<int>(m_workers.size()) < wanted) {
            auto worker = std::make_unique<Worker>();
            Worker& serving = *worker;
            worker->thread = std::thread([this, &serving] { Serve(serving); });
            m_workers.push_back(std::move(worker));
        }
    } catch (const std::system_error&) {
    }
    return std::min(wanted, static_cast<int>(m_workers.size()));
}

void CKernelThreadPool::Serve(Worker& worker)
{
    for (;;) {
        const auto given = [&worker] { return worker.state.load(std::memory_order_acquire) != kIdle; };
        if (!CameWhileBusy(given)) worker.state.wait(kIdle, std::memory_order_acquire);
        if (worker.state.load(std::memory_order_acquire) == kQuit) return;
        (*m_task)();
        worker.state.store(kIdle, std::memory_order_release);
        if (m_pending.fetch_sub(1, std::memory_order_acq_rel) == 1) m_pending.notify_one();
    }
}

void CKernelThreadPool::WaitForHelpers()
{
    const auto done = [this] { return m_pending.load(std::memory_order_acquire) == 0; };
    if (CameWhileBusy(done)) return;
    for (int left = m_pending.load(std::memory_order_acquire); left != 0;
         left = m_pending.load(std::memory_order_acquire)) {
        m_pending.wait(left, std::memory_order_acquire);
    }
}

int CKernelThreadPool::Run(int helpers, const std::function<void()>& helperTask,
                           const std::function<void()>& callerTask)
{
    const std::unique_lock<std::mutex> use(m_use, std::try_to_lock);
    const int taking = use.owns_lock() && helpers > 0 ? Started(helpers) : 0;
    if (taking > 0) {
        m_task = &helperTask;
        m_pending.store(taking, std::memory_order_release);
        for (int i = 0; i < taking; ++i) {
            m_workers[static_cast<size_t>(i)]->state.store(kTask, std::memory_order_release);
            m_workers[static_cast<size_t>(i)]->state.notify_one();
        }
    }
    callerTask();
    if (taking > 0) WaitForHelpers();
    return taking;
}
