// Row bands: every row worked once whatever the thread count, reports row by row with
// one thread and only from the calling thread with more, a stop that ends the call
// after the bands begun, and the thread count's setting.

#include "filters/shared/parallel/RowBands.h"
#include "tests/KernelThreads.h"

#include <gtest/gtest.h>

#include <atomic>
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
    const int fromDefault = KernelThreadCount();
    EXPECT_GE(fromDefault, 1);
    {
        const ScopedKernelThreads three(3);
        EXPECT_EQ(KernelThreadCount(), 3);
        SetKernelThreadCount(100000);
        EXPECT_EQ(KernelThreadCount(), 256);
    }
    EXPECT_EQ(KernelThreadCount(), fromDefault);
}
