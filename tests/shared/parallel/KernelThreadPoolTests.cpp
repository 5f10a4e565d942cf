// The kernels' thread pool: each helper runs the task once a call on a thread of its
// own, the same threads from call to call, the call returns only after every helper
// has; a call made while the pool serves another (from a task, or from another
// thread) gets no helpers and still ends.

#include "filters/shared/parallel/KernelThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

namespace {

// The threads that ran a call's helper task, and how often it ran.
struct HelperLog {
    std::mutex lock;
    std::multiset<std::thread::id> threads;

    void Note()
    {
        const std::lock_guard<std::mutex> guard(lock);
        threads.insert(std::this_thread::get_id());
    }
};

} // namespace

TEST(KernelThreadPool, EachHelperRunsTheTaskOnceOnItsOwnThreadAndTheThreadsAreKept)
{
    CKernelThreadPool pool;
    std::set<std::thread::id> firstCallThreads;
    for (int call = 0; call < 3; ++call) {
        HelperLog log;
        bool callerRan = false;
        const int helpers = pool.Run(3, [&log] { log.Note(); }, [&callerRan] { callerRan = true; });
        EXPECT_EQ(helpers, 3);
        EXPECT_TRUE(callerRan);
        ASSERT_EQ(log.threads.size(), 3u) << "call " << call;
        const std::set<std::thread::id> distinct(log.threads.begin(), log.threads.end());
        EXPECT_EQ(distinct.size(), 3u) << "call " << call;
        EXPECT_EQ(distinct.count(std::this_thread::get_id()), 0u);
        if (call == 0) firstCallThreads = distinct;
        EXPECT_EQ(distinct, firstCallThreads) << "call " << call;
    }
    // Fewer helpers than kept threads: only as many run.
    HelperLog log;
    EXPECT_EQ(pool.Run(1, [&log] { log.Note(); }, [] {}), 1);
    EXPECT_EQ(log.threads.size(), 1u);
    EXPECT_EQ(pool.Run(0, [&log] { log.Note(); }, [] {}), 0);
    EXPECT_EQ(log.threads.size(), 1u);
}

// A helper still at work when the caller's share is done, and one woken from sleep
// after the pool stood idle past its busy wait.
TEST(KernelThreadPool, TheCallReturnsOnlyAfterEveryHelperHasReturned)
{
    CKernelThreadPool pool;
    for (const auto idle : {std::chrono::milliseconds(0), std::chrono::milliseconds(40)}) {
        std::this_thread::sleep_for(idle);
        std::atomic<int> finished{0};
        pool.Run(
            2,
            [&finished] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ++finished;
            },
            [] {});
        EXPECT_EQ(finished.load(), 2) << "after " << idle.count() << " ms idle";
    }
}

TEST(KernelThreadPool, ACallWhileThePoolServesAnotherGetsNoHelpers)
{
    CKernelThreadPool pool;
    std::atomic<int> nestedHelpers{-1};
    std::atomic<bool> nestedCallerRan{false};
    pool.Run(
        1, [] {},
        [&] {
            nestedHelpers = pool.Run(2, [] { ADD_FAILURE() << "a nested call's helper ran"; },
                                     [&nestedCallerRan] { nestedCallerRan = true; });
        });
    EXPECT_EQ(nestedHelpers.load(), 0);
    EXPECT_TRUE(nestedCallerRan.load());

    // From another thread while the first call's helper holds the pool.
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    std::atomic<int> otherHelpers{-1};
    std::thread first([&] {
        pool.Run(
            1,
            [&] {
                holding = true;
                while (!release.load()) std::this_thread::yield();
            },
            [] {});
    });
    while (!holding.load()) std::this_thread::yield();
    otherHelpers = pool.Run(1, [] { ADD_FAILURE() << "the second call's helper ran"; }, [] {});
    release = true;
    first.join();
    EXPECT_EQ(otherHelpers.load(), 0);
}
