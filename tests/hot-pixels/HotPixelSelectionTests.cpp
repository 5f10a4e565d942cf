// The nine-key selection against a plain median: equal wherever the sequence ranks
// every key, and where it loses one, equal to the median of what it kept; the
// windows where it parts from the median are worked by hand.

#include "tests/hot-pixels/HotPixelReference.h"

#include "filters/hot-pixels/HotPixelSelection.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

namespace ref = hot_pixel_reference;

CompassWindow Compass(const ref::Window& k)
{
    // Reference order: W, SW, NW, N, Z, S, NE, E, SE.
    return {.nw = k[2], .n = k[3], .ne = k[6], .w = k[0], .z = k[4], .e = k[7], .sw = k[1], .s = k[5], .se = k[8]};
}

struct Tally {
    int agreeing = 0;
    int losing = 0;
    int partingFromMedian = 0;
};

// Keys drawn by draw; every window is held to the reference.
template <class Draw>
Tally CheckRandomWindows(Draw draw, int count)
{
    std::mt19937 random(20240611);
    Tally tally;
    for (int i = 0; i < count; ++i) {
        ref::Window keys;
        for (uint32_t& key : keys) key = draw(random);
        const uint32_t selected = SelectFromCompassWindow(Compass(keys));
        if (!ref::LosesAKey(keys)) {
            ++tally.agreeing;
            EXPECT_EQ(selected, ref::PlainMedian(keys)) << "window " << i;
        } else {
            ++tally.losing;
            tally.partingFromMedian += selected != ref::PlainMedian(keys);
            EXPECT_EQ(selected, ref::RankedMedian(keys)) << "window " << i;
        }
    }
    return tally;
}

} // namespace

TEST(HotPixelSelection, RandomWindowsGiveTheMedianOfTheKeysTheSequenceRanks)
{
    // Whole words (the top bit set in half of them), few values (many ties), and
    // pixel keys with their mean on top, as the repair hands them over.
    const Tally words = CheckRandomWindows([](std::mt19937& r) { return static_cast<uint32_t>(r()); }, 100000);
    const Tally ties = CheckRandomWindows([](std::mt19937& r) { return static_cast<uint32_t>(r() % 4); }, 100000);
    const Tally pixels = CheckRandomWindows(
        [](std::mt19937& r) {
            const uint32_t rgb = static_cast<uint32_t>(r()) & 0x00FFFFFFu;
            const uint32_t mean = (((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) + 2) / 3;
            return (mean << 24) | rgb;
        },
        100000);
    for (const Tally& tally : {words, ties, pixels}) {
        EXPECT_GT(tally.agreeing, 0);
        EXPECT_GT(tally.losing, 0);
    }
    // Losing a key often leaves the median alone, but not always.
    EXPECT_GT(words.partingFromMedian, 0);
    EXPECT_LT(words.partingFromMedian, words.losing);
}

TEST(HotPixelSelection, WindowsWorkedByHand)
{
    // W 10, NW 30 -> lo 10, mid 30; SW 20 < 30 -> mid 20, hi 30. N 50 -> top 50.
    // Z 0 < hi: t5 50, hi 20, mid 10, lo 0 (30 is gone, 50 stays top).
    // S 25: < top -> t5 50, top 25. NE 60: mid 20, hi 25, top 60 -> t5 50.
    // E 60: mid 25, hi 60 -> top 50. SE 60 >= hi: 50. The median is 30.
    EXPECT_EQ(SelectFromCompassWindow({.nw = 30, .n = 50, .ne = 60, .w = 10, .z = 0, .e = 60, .sw = 20, .s = 25, .se = 60}),
              50u);
    // The same loss below the median changes nothing: keys 0 to 8, where 3 is lost
    // and 4 counted twice; the median 4 comes out.
    EXPECT_EQ(SelectFromCompassWindow({.nw = 3, .n = 4, .ne = 6, .w = 1, .z = 0, .e = 7, .sw = 2, .s = 5, .se = 8}), 4u);
    // Z above the western column and N ranks everything: 9 8 7 / 6 5 4 / 3 2 1 gives 5.
    EXPECT_EQ(SelectFromCompassWindow({.nw = 9, .n = 8, .ne = 7, .w = 6, .z = 5, .e = 4, .sw = 3, .s = 2, .se = 1}), 5u);
    // SE between mid and hi is the answer itself. W 7, NW 1, SW 4 -> 1 4 7; N 2 -> 1 2 4 7;
    // Z 8 -> t5 8; S 6 -> top 6, t5 7; NE 3 -> mid 3; E 9 -> mid 4, hi 6; SE 5 lies between.
    EXPECT_EQ(SelectFromCompassWindow({.nw = 1, .n = 2, .ne = 3, .w = 7, .z = 8, .e = 9, .sw = 4, .s = 6, .se = 5}), 5u);
}

TEST(HotPixelSelection, KeysCompareAsUnsignedWords)
{
    // Five keys with the top bit set, four without: the median has the top bit.
    constexpr uint32_t high = 0xF0000000u;
    constexpr uint32_t low = 0x10000000u;
    EXPECT_EQ(
        SelectFromCompassWindow({.nw = high, .n = low, .ne = high, .w = low, .z = high, .e = low, .sw = high, .s = low, .se = high}),
        high);
}

TEST(HotPixelSelection, NorthIsTheSectionRowAbove)
{
    // Section rows from the bottom: row 0 holds 1 2 3, row 1 holds 4 5 6, row 2 7 8 9.
    uint32_t pixels[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const PixelRows rows{reinterpret_cast<uint8_t*>(pixels), 12, 3, 3};
    const CompassWindow window = CompassWindowAt(rows, 1, 1);
    const std::vector<uint32_t> southToNorth{window.sw, window.s, window.se, window.w, window.z,
                                            window.e,  window.nw, window.n, window.ne};
    EXPECT_EQ(southToNorth, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}
