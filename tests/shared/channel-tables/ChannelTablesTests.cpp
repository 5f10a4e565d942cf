// The channel-table mapping's variants against the plain rule: each colour byte
// through its own table, the fourth byte and everything after the row untouched.

#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/shared/channel-tables/ChannelTables.h"
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
        for (int i = 0; i < 256; ++i) {
            wide.red[i] = red[static_cast<size_t>(i)];
            wide.green[i] = green[static_cast<size_t>(i)];
            wide.blue[i] = blue[static_cast<size_t>(i)];
        }
    }
    ChannelTables Tables() const { return {red.data(), green.data(), blue.data()}; }

    std::array<uint8_t, 256> red{};
    std::array<uint8_t, 256> green{};
    std::array<uint8_t, 256> blue{};
    WideChannelTables wide{};
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
                                   MapChannelRowPortable(row, width, tables.Tables());
                               }},
                    MapVariant{{"Avx2", "AVX2"},
                               [](uint8_t* row, int width, const RandomTables& tables) {
                                   MapChannelRowAvx2(row, width, tables.wide, tables.Tables());
                               }},
                    // The mapper with the variant chosen for this processor, as the filters run it.
                    MapVariant{{"Chosen", ""},
                               [](uint8_t* row, int width, const RandomTables& tables) {
                                   CChannelMapper(tables.Tables()).MapRow(row, width);
                               }}),
    NameOfVariant());

// Widths of none to beyond whole vectors of eight, and drawn at random; a row that
// starts off any vector boundary.
TEST_P(ChannelMapVariants, EachChannelThroughItsTableFourthByteKept)
{
    std::mt19937 random(20261207);
    std::vector<int> widths;
    for (int width = 0; width <= 41; ++width) widths.push_back(width);
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
