#pragma once
// Threads kept from one kernel call to the next. Starting a thread for a call, and on
// a virtual machine waking the idle processor it lands on, took about a millisecond
// here: a third of a pass over the bytes of a 12-megapixel picture. A kept thread
// waits for its next task busy for a short while, yielding to any other thread that
// wants the processor, and only then sleeps, so the calls of a filter chain or a
// benchmark find it awake.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class CKernelThreadPool {
public:
    // The process's pool; its threads start when a call first wants them and end with
    // the process.
    static CKernelThreadPool& Shared();

    CKernelThreadPool();
    ~CKernelThreadPool();
    CKernelThreadPool(const CKernelThreadPool&) = delete;
    CKernelThreadPool& operator=(const CKernelThreadPool&) = delete;

    // Runs helperTask on up to helpers kept threads while the calling thread runs
    // callerTask, and returns once every helper's task has returned. Neither task may
    // throw. Fewer helpers, or none, take part when threads cannot be started or the
    // pool is busy with another call (a call from another thread, or from inside a
    // task): then callerTask does the rest. Answers how many helpers took part.
    int Run(int helpers, const std::function<void()>& helperTask, const std::function<void()>& callerTask);

private:
    struct Worker;

    int Started(int wanted);
    void Serve(Worker& worker);
    void WaitForHelpers();

    std::mutex m_use;  // held by the call running, tried by any other
    std::vector<std::unique_ptr<Worker>> m_workers;
    const std::function<void()>* m_task = nullptr;
    std::atomic<int> m_pending{0};  // helpers still running the task
};
