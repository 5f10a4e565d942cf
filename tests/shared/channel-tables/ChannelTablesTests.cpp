// The channel-table mapping's variants against the plain rule: each colour byte
// through its own table, the fourth byte and everything after the row untouched;
// and the routine over a host's bitmap with its progress sink.

#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/shared/channel-tables/ChannelTables.h"
#include "refhost/RecordingProgress.h"
#include "tests/TestSupport.h"
#include "tests/shared/KernelVariants.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

struct RandomTables {
    explicit RandomTables(std::mt19937& random)
    {
        for (auto* table : {&red, &green, &blue}) {
            for (uint8_t& entry : *table) entry = static_cast<uint8_t>(random());
        }
    }
    ChannelTables Tables() const { return {red.data(), green.data(), blue.data()}; }

    std::array<uint8_t, 256> red{};
    std::array<uint8_t, 256> green{};
    std::array<uint8_t, 256> blue{};
};

using MapRow = void (*)(uint8_t* row, int width, const RandomTables& tables);

struct MapVariant : kernel_variants::Named {
    MapRow map;
};

class ChannelMapVariants : public KernelVariantTest<MapVariant> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Each, ChannelMapVariants,
    testing::Values(MapVariant{{"Portable", ""},
                               [](uint8_t* row, int width, const RandomTables& tables) {
                                   MapChannelRowPortable(row, width, PreparedChannelTables(tables.Tables()));
                               }},
                    MapVariant{{"Avx2", "AVX2"},
                               [](uint8_t* row, int width, const RandomTables& tables) {
                                   MapChannelRowAvx2(row, width, PreparedChannelTables(tables.Tables()));
                               }},
                    // The mapper with the variant chosen for this processor, as the filters run it.
                    MapVariant{{"Chosen", ""},
                               [](uint8_t* row, int width, const RandomTables& tables) {
                                   CChannelMapper(tables.Tables()).MapRow(row, width);
                               }}),
    NameOfVariant());

// Widths of none to beyond two whole blocks of 32 pixels (with every tail), and
// drawn at random; a row that starts off any vector boundary. Random tables make
// every run of sixteen entries answer differently.
TEST_P(ChannelMapVariants, EachChannelThroughItsTableFourthByteKept)
{
    std::mt19937 random(20261207);
    std::vector<int> widths;
    for (int width = 0; width <= 70; ++width) widths.push_back(width);
    for (int i = 0; i < 20; ++i) widths.push_back(static_cast<int>(random() % 1000));
    for (const int width : widths) {
        const RandomTables tables(random);
        std::vector<uint8_t> bytes(static_cast<size_t>(width) * 4 + 9);
        for (uint8_t& value : bytes) value = static_cast<uint8_t>(random());
        const std::vector<uint8_t> original = bytes;
        GetParam().map(bytes.data() + 1, width, tables);
        for (size_t at = 0; at < bytes.size(); ++at) {
            const size_t inRow = at - 1;
            uint8_t expected = original[at];
            if (at >= 1 && inRow < static_cast<size_t>(width) * 4) {
                const std::array<uint8_t, 256>* channel[] = {&tables.blue, &tables.green, &tables.red, nullptr};
                if (channel[inRow % 4] != nullptr) expected = (*channel[inRow % 4])[original[at]];
            }
            ASSERT_EQ(bytes[at], expected) << "width " << width << ", byte " << at;
        }
    }
}

TEST(ChannelTables, MapsEveryChannelThroughItsOwnTableAndKeepsTheFourthByte)
{
    std::array<uint8_t, 256> red{}, green{}, blue{};
    for (int i = 0; i < 256; ++i) {
        red[static_cast<size_t>(i)] = static_cast<uint8_t>(255 - i);
        green[static_cast<size_t>(i)] = static_cast<uint8_t>(i / 2);
        blue[static_cast<size_t>(i)] = static_cast<uint8_t>((i + 1) & 0xFF);
    }
    auto image = MakeImage(11, 3, DistinctPixel);
    ASSERT_TRUE(ApplyChannelTables(image->GetBitmap(), red.data(), green.data(), blue.data(), nullptr));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 11; ++x) {
            const uint32_t before = DistinctPixel(x, y);
            const uint32_t expected = (before & 0xFF000000u) | (uint32_t{red[(before >> 16) & 0xFF]} << 16) |
                                      (uint32_t{green[(before >> 8) & 0xFF]} << 8) | blue[before & 0xFF];
            EXPECT_EQ(image->Row(y)[x], expected) << x << "," << y;
        }
    }
}

TEST(ChannelTables, ReportsRowsAndStopsWhenAsked)
{
    std::array<uint8_t, 256> identity{};
    std::array<uint8_t, 256> inverse{};
    for (int i = 0; i < 256; ++i) {
        identity[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        inverse[static_cast<size_t>(i)] = static_cast<uint8_t>(255 - i);
    }
    auto image = MakeImage(4, 5, DistinctPixel);
    EXPECT_FALSE(ApplyChannelTables(nullptr, identity.data(), identity.data(), identity.data(), nullptr));
    EXPECT_FALSE(ApplyChannelTables(image->GetBitmap(), identity.data(), nullptr, identity.data(), nullptr));

    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(2));
    EXPECT_FALSE(ApplyChannelTables(image->GetBitmap(), inverse.data(), inverse.data(), inverse.data(),
                                    progress.Get()));
    const auto& events = progress->Events();
    ASSERT_EQ(events.size(), 4u);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(events[static_cast<size_t>(r)].done, r);
        EXPECT_EQ(events[static_cast<size_t>(r)].total, 5);
    }
    EXPECT_EQ(events[3].call, CRecordingProgress::Call::Finish);
    EXPECT_FALSE(events[3].success);
    // Rows 0 and 1 were mapped before the stop, the others not.
    EXPECT_EQ(image->Row(1)[0], DistinctPixel(0, 1) ^ 0x00FFFFFFu) << "every colour byte v became 255 - v";
    EXPECT_EQ(image->Row(2)[0], DistinctPixel(0, 2));
}

// A caller's mask on the fourth byte (the frames clear it): both loops keep just its
// bits, with the same colour bytes as before.
TEST(ChannelTables, TheFourthByteKeepsTheBitsOfItsMaskInBothLoops)
{
    std::mt19937 random(77);
    for (const uint32_t kept : {0u, 0x5A000000u}) {
        const RandomTables tables(random);
        PreparedChannelTables prepared(tables.Tables());
        prepared.keptFourth = kept;
        for (const int width : {1, 31, 32, 33, 100}) {
            std::vector<uint32_t> original(static_cast<size_t>(width));
            for (uint32_t& pixel : original) pixel = static_cast<uint32_t>(random());
            std::vector<uint32_t> portable = original;
            MapChannelRowPortable(reinterpret_cast<uint8_t*>(portable.data()), width, prepared);
            for (size_t i = 0; i < original.size(); ++i) {
                const uint32_t before = original[i];
                const uint32_t expected = (before & kept) | uint32_t{tables.red[before >> 16 & 0xFF]} << 16 |
                                          uint32_t{tables.green[before >> 8 & 0xFF]} << 8 | tables.blue[before & 0xFF];
                ASSERT_EQ(portable[i], expected) << width << " " << i;
            }
            if (!__builtin_cpu_supports("avx2")) continue;
            std::vector<uint32_t> vector = original;
            MapChannelRowAvx2(reinterpret_cast<uint8_t*>(vector.data()), width, prepared);
            ASSERT_EQ(vector, portable) << width;
        }
    }
}
