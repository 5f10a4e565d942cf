// Row bands: every row worked once whatever the thread count, reports row by row with
// one thread and only from the calling thread with more, a stop that ends the call
// after the bands begun, exceptions brought back to the caller, and the thread
// count's setting.

#include "filters/shared/parallel/RowBands.h"
#include "tests/KernelThreads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>
#include <utility>
#include <vector>

TEST(RowBands, EveryRowIsWorkedOnceForEveryThreadCount)
{
    for (const int threads : {1, 2, 3, 5}) {
        for (const int rows : {0, 1, 2, 7, 100, 1001}) {
            std::vector<std::atomic<int>> times(static_cast<size_t>(rows));
            const bool done = ForEachRowBand(
                rows, {},
                [&](int first, int last) {
                    ASSERT_LE(0, first);
                    ASSERT_LT(first, last);
                    ASSERT_LE(last, rows);
                    for (int y = first; y < last; ++y) ++times[static_cast<size_t>(y)];
                },
                threads);
            EXPECT_TRUE(done);
            for (int y = 0; y < rows; ++y) ASSERT_EQ(times[static_cast<size_t>(y)].load(), 1) << threads << " " << y;
        }
    }
}

TEST(RowBands, OneThreadReportsEachRowBeforeWorkingItAndStopsWhereTold)
{
    std::vector<std::pair<char, int>> events;
    const auto work = [&](int first, int last) {
        ASSERT_EQ(last, first + 1);
        events.push_back({'w', first});
    };
    const auto report = [&](int done, int total) {
        EXPECT_EQ(total, 3);
        events.push_back({'r', done});
        return done < 2;
    };
    EXPECT_FALSE(ForEachRowBand(3, report, work, 1));
    const std::vector<std::pair<char, int>> expected = {{'r', 0}, {'w', 0}, {'r', 1}, {'w', 1}, {'r', 2}};
    EXPECT_EQ(events, expected);
}

TEST(RowBands, ManyThreadsReportFromTheCallingThreadOnlyAndInOrder)
{
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> worked{0};
    std::vector<int> reported;
    const bool done = ForEachRowBand(
        5000,
        [&](int rowsDone, int total) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            EXPECT_EQ(total, 5000);
            reported.push_back(rowsDone);
            return true;
        },
        [&](int first, int last) { worked += last - first; }, 3);
    EXPECT_TRUE(done);
    EXPECT_EQ(worked.load(), 5000);
    ASSERT_FALSE(reported.empty());
    for (size_t i = 1; i < reported.size(); ++i) EXPECT_LE(reported[i - 1], reported[i]);
    EXPECT_LE(reported.back(), 5000);
}

// The other threads each hold their first band until the calling thread has been
// told to stop at its third report, so the stop falls while bands are under way.
TEST(RowBands, AStopEndsTheCallOnlyAfterTheBandsBegun)
{
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> stopped{false};
    std::atomic<int> running{0};
    std::atomic<int> bands{0};
    int reports = 0;
    const bool done = ForEachRowBand(
        100000,
        [&](int, int) {
            if (++reports < 3) return true;
            stopped = true;
            return false;
        },
        [&](int, int) {
            ++running;
            while (std::this_thread::get_id() != caller && !stopped) std::this_thread::yield();
            ++bands;
            --running;
        },
        4);
    EXPECT_FALSE(done);
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(running.load(), 0);
    // The calling thread's two bands, and at most one for each of the three others
    // (one that starts after the stop takes none).
    EXPECT_GE(bands.load(), 2);
    EXPECT_LE(bands.load(), 5);
}

// Memory running out in a band on another thread must reach the caller as the
// exception, not end the process, and only after every band begun has ended.
TEST(RowBands, AnExceptionInAnyBandLeavesTheCallAfterTheOthersEnded)
{
    const std::thread::id caller = std::this_thread::get_id();
    for (const bool onCaller : {false, true}) {
        std::atomic<int> running{0};
        std::atomic<bool> helperBegan{false};
        const auto call = [&] {
            ForEachRowBand(
                10000, {},
                [&](int, int) {
                    ++running;
                    const bool here = std::this_thread::get_id() == caller;
                    if (!here) helperBegan = true;
                    // The caller waits for a helper's first band, so that a loaded
                    // machine cannot leave every band to the caller.
                    while (here && !onCaller && !helperBegan) std::this_thread::yield();
                    --running;
                    if (here == onCaller) throw std::bad_alloc();
                },
                3);
        };
        EXPECT_THROW(call(), std::bad_alloc) << onCaller;
        EXPECT_EQ(running.load(), 0) << onCaller;
    }
}

TEST(RowBands, TheThreadCountTextIsAWholeNumberFromOneTo256)
{
    EXPECT_EQ(ThreadCountOf("3", 2), 3);
    EXPECT_EQ(ThreadCountOf("1", 2), 1);
    EXPECT_EQ(ThreadCountOf("256", 2), 256);
    for (const char* refused : {"0", "-2", "257", "2.5", "two", "", " 3", "3 "}) EXPECT_EQ(ThreadCountOf(refused, 7), 7) << refused;
    EXPECT_EQ(ThreadCountOf(nullptr, 5), 5);
}

TEST(RowBands, TheSetThreadCountHoldsUntilReset)
{
    const int before = KernelThreadCount();
    {
        const ScopedKernelThreads three(3);
        EXPECT_EQ(KernelThreadCount(), 3);
        SetKernelThreadCount(100000);
        EXPECT_EQ(KernelThreadCount(), 256);
        SetKernelThreadCount(0);
        const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        EXPECT_EQ(KernelThreadCount(), ThreadCountOf(std::getenv("BASICFILTERS_THREADS"), cores));
    }
    EXPECT_EQ(KernelThreadCount(), before);
}
