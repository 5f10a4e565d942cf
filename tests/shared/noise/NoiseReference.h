#pragma once
// The noise engine written the plain, slow way, straight from its rules: the integer
// transform and its inverse, every window summed pixel by pixel, the block grid
// walked block by block and the crowded range searched by counting every window.
// The tests hold the engine's fast loops to these.

#include "filters/shared/noise/NoiseLevels.h"
#include "filters/shared/pixels/PixelRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace noise_reference {

// A picture held in rows bottom-up, with a stride longer than its pixels, so that a
// loop that steps by width instead of stride shows.
struct Picture {
    int width = 0;
    int height = 0;
    int rowWords = 0;  // 32-bit words from one row to the next
    std::vector<uint32_t> words;

    Picture(int w, int h) : width(w), height(h), rowWords(w + 3), words(static_cast<size_t>(rowWords) * h, 0xA5A5A5A5u) {}

    uint32_t& At(int x, int y) { return words[static_cast<size_t>(y) * rowWords + x]; }
    uint32_t At(int x, int y) const { return words[static_cast<size_t>(y) * rowWords + x]; }
    PixelRows Rows()
    {
        return {reinterpret_cast<uint8_t*>(words.data()), ptrdiff_t{4} * rowWords, width, height};
    }
    friend bool operator==(const Picture&, const Picture&) = default;
};

inline uint32_t Colour(int red, int green, int blue, uint32_t fourth = 0)
{
    return fourth << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

inline int Red(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
inline int Green(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
inline int Blue(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

// Floor division by 1024, spelled out rather than shifted.
inline int64_t FloorBy1024(int64_t value)
{
    int64_t quotient = value / 1024;
    if (value % 1024 != 0 && value < 0) quotient -= 1;
    return quotient;
}

struct Channels {
    int64_t value[3];
};

inline Channels Working(uint32_t pixel, bool luma)
{
    const int64_t r = Red(pixel);
    const int64_t g = Green(pixel);
    const int64_t b = Blue(pixel);
    if (!luma) return {{r, g, b}};
    return {{FloorBy1024(601 * g + 306 * r + 117 * b + 512), FloorBy1024((r + 1) * 512 - 428 * g - 84 * b),
             FloorBy1024((b + 1) * 512 - 339 * g - 173 * r)}};
}

inline int64_t ToByte(int64_t value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

inline uint32_t FromWorking(const Channels& c, bool luma)
{
    if (!luma) return Colour(int(ToByte(c.value[0])), int(ToByte(c.value[1])), int(ToByte(c.value[2])));
    const int64_t y = c.value[0];
    const int64_t r = FloorBy1024(1436 * c.value[1] + 1024 * y + 512);
    const int64_t b = FloorBy1024(1814 * c.value[2] + 1024 * y + 512);
    const int64_t g = FloorBy1024(1746 * y - 522 * r - 200 * b + 512);
    return Colour(int(ToByte(r)), int(ToByte(g)), int(ToByte(b)));
}

// The three levels as one comparable value, so that a failure shows all three.
inline std::array<double, 3> Triple(const NoiseLevels& levels)
{
    return {levels.first, levels.second, levels.third};
}

inline double Level(const NoiseLevels& levels, int channel)
{
    return channel == 0 ? levels.first : channel == 1 ? levels.second : levels.third;
}

struct Reduction {
    int radius = 3;
    bool luma = false;
    bool divideByCount = true;
    NoiseLevels given;      // the deciding channel's level
    NoiseLevels estimates;  // the other channels' levels
};

// Every output pixel from the untouched input alone.
inline Picture Reduce(const Picture& input, const Reduction& how)
{
    Picture output = input;
    const bool allZero = Level(how.given, 0) == 0 && Level(how.given, 1) == 0 && Level(how.given, 2) == 0 &&
                         Level(how.estimates, 0) == 0 && Level(how.estimates, 1) == 0 &&
                         Level(how.estimates, 2) == 0;
    if (allZero) return output;
    for (int y = 0; y < input.height; ++y) {
        for (int x = 0; x < input.width; ++x) {
            int64_t sum[3] = {0, 0, 0};
            int64_t squares[3] = {0, 0, 0};
            int n = 0;
            for (int wy = y - how.radius; wy <= y + how.radius; ++wy) {
                for (int wx = x - how.radius; wx <= x + how.radius; ++wx) {
                    if (wx < 0 || wy < 0 || wx >= input.width || wy >= input.height) continue;
                    const Channels c = Working(input.At(wx, wy), how.luma);
                    for (int k = 0; k < 3; ++k) {
                        sum[k] += c.value[k];
                        squares[k] += c.value[k] * c.value[k];
                    }
                    ++n;
                }
            }
            const int divisor = how.divideByCount ? n : n - 1;
            const Channels own = Working(input.At(x, y), how.luma);
            if (divisor == 0) {  // a lone pixel
                output.At(x, y) = FromWorking(own, how.luma);
                continue;
            }
            double m[3];
            double v[3];
            for (int k = 0; k < 3; ++k) {
                m[k] = double(sum[k]) / n;
                v[k] = (double(squares[k]) - (n * m[k]) * m[k]) / divisor;
            }
            int deciding = 0;
            if (m[1] > m[0] && m[1] > m[2]) deciding = 1;
            if (m[2] > m[0] && m[2] >= m[1]) deciding = 2;
            const bool flat = Level(how.given, deciding) >= v[deciding];
            Channels out{};
            for (int k = 0; k < 3; ++k) {
                const double level = k == deciding ? Level(how.given, k) : Level(how.estimates, k);
                double value = m[k];
                if (!flat && !(level >= v[k])) value = m[k] + (v[k] - level) / v[k] * (double(own.value[k]) - m[k]);
                out.value[k] = int64_t(value + 0.5);
            }
            output.At(x, y) = FromWorking(out, how.luma);
        }
    }
    return output;
}

struct Estimation {
    int block = 20;
    int mode = 1;
    bool luma = false;
    bool divideByCount = true;
    int minimumSide = 320;
};

inline int64_t BlockValue(uint32_t pixel, int mode)
{
    const int64_t r = Red(pixel);
    const int64_t g = Green(pixel);
    const int64_t b = Blue(pixel);
    if (mode == 1) return FloorBy1024(601 * g + 306 * r + 117 * b + 512);
    if (mode == 2) return std::max({r, g, b});
    if (mode == 3) return (std::min({r, g, b}) + std::max({r, g, b}) + 1) / 2;
    return (r + g + b + 1) / 3;
}

struct Block {
    double values;
    double channels[3];
};

inline double Variance(int64_t n, int64_t sum, int64_t squares, int64_t divisor)
{
    return double(n * squares - sum * sum) / double(n * divisor);
}

// The blocks that take part, bottom block row first, left to right.
inline std::vector<Block> Blocks(const Picture& picture, const Estimation& how, int side)
{
    std::vector<Block> blocks;
    const int across = picture.width / side;
    const int down = picture.height / side;
    const int x0 = (picture.width - across * side) / 2;
    const int y0 = (picture.height - down * side) / 2;
    const int64_t n = int64_t(side) * side;
    const int64_t divisor = how.divideByCount ? n : n - 1;
    for (int by = 0; by < down; ++by) {
        for (int bx = 0; bx < across; ++bx) {
            int64_t sum = 0, squares = 0, channelSum[3] = {0, 0, 0}, channelSquares[3] = {0, 0, 0};
            for (int y = y0 + by * side; y < y0 + (by + 1) * side; ++y) {
                for (int x = x0 + bx * side; x < x0 + (bx + 1) * side; ++x) {
                    const int64_t value = BlockValue(picture.At(x, y), how.mode);
                    sum += value;
                    squares += value * value;
                    const Channels c = Working(picture.At(x, y), how.luma);
                    for (int k = 0; k < 3; ++k) {
                        channelSum[k] += c.value[k];
                        channelSquares[k] += c.value[k] * c.value[k];
                    }
                }
            }
            if (!(sum > 20 * n && sum < 235 * n)) continue;
            Block block{Variance(n, sum, squares, divisor), {}};
            for (int k = 0; k < 3; ++k) block.channels[k] = Variance(n, channelSum[k], channelSquares[k], divisor);
            blocks.push_back(block);
        }
    }
    return blocks;
}

// The most crowded range, every window counted afresh.
inline NoiseLevels Search(std::vector<Block> blocks)
{
    if (blocks.empty()) return {};
    std::stable_sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.values < b.values; });
    std::vector<Block> range = blocks;
    double width = range.back().values - range.front().values;
    while (width > 10) {
        width = width / 3;
        size_t bestStart = 0, bestCount = 0;
        for (size_t i = 0; i < range.size(); ++i) {
            size_t count = 0;
            for (size_t j = i; j < range.size(); ++j) {
                if (range[j].values <= range[i].values + width) ++count;
            }
            if (count > bestCount) {
                bestCount = count;
                bestStart = i;
            }
        }
        range = std::vector<Block>(range.begin() + long(bestStart), range.begin() + long(bestStart + bestCount));
    }
    double level[3];
    for (int k = 0; k < 3; ++k) {
        double sum = 0;
        for (const Block& block : range) sum += block.channels[k];
        level[k] = std::clamp(sum / double(range.size()), 1.0, 200.0);
    }
    return {level[0], level[1], level[2]};
}

inline int Side(int width, int height, int block)
{
    int side = std::max(block, 10);
    if (width / side > 255 || height / side > 255) side = std::max(width, height) / 255 + 1;
    return side;
}

inline NoiseLevels Estimate(const Picture& picture, const Estimation& how)
{
    const int side = Side(picture.width, picture.height, how.block);
    if (picture.width < how.minimumSide || picture.height < how.minimumSide || picture.width < side ||
        picture.height < side) {
        return {};
    }
    return Search(Blocks(picture, how, side));
}

// A photo-like picture: smooth colour ramps, a few hard edges and grain of the given
// amplitude, so that windows and blocks range from flat to busy.
inline Picture GrainyPicture(int width, int height, int grain, uint32_t seed)
{
    Picture picture(width, height);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-grain, grain);
    std::uniform_int_distribution<int> fourth(0, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = (x * 3 + y * 2) % 97 < 40 ? 70 : 0;
            const int red = 40 + (150 * x) / std::max(width, 1) + edge + noise(random);
            const int green = 60 + (120 * y) / std::max(height, 1) + noise(random);
            const int blue = 200 - edge - (90 * (x + y)) / std::max(width + height, 1) + noise(random);
            picture.At(x, y) = Colour(int(ToByte(red)), int(ToByte(green)), int(ToByte(blue)),
                                      static_cast<uint32_t>(fourth(random)));
        }
    }
    return picture;
}

} // namespace noise_reference
