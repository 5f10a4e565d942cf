#pragma once
// Adding uniform random noise: every channel of every pixel moves by its own random
// offset. Free of interfaces: pixel rows, the amount and a source of random numbers.

#include "filters/shared/pixels/PixelRows.h"

#include <cstddef>
#include <cstdint>

// The random numbers the noise is made of: whole numbers from 0 to kLargestNoiseDraw,
// uniformly distributed, one per channel. The filter draws them from the runtime's
// process-wide generator; tests hand their own sequences.
class CNoiseDraws {
public:
    static constexpr int kLargestNoiseDraw = 32767;

    virtual void Fill(int* draws, size_t count) = 0;

protected:
    ~CNoiseDraws() = default;
};

// The runtime's rand(), seeded on construction. Its values are brought into
// 0..32767 by their high bits, whatever the library's own largest value is.
class CProcessRandomDraws final : public CNoiseDraws {
public:
    explicit CProcessRandomDraws(unsigned seed);
    void Fill(int* draws, size_t count) override;
};

// The offset a draw u subtracts from a channel:
// trunc((u / 32767 - 0.5) * (-255) * amount), in double, in this order. Between
// -127.5 * amount and +127.5 * amount, truncated toward zero; kept within -256..256
// (further never changes a clamped channel), 0 for an amount that is no number.
int NoiseOffset(int draw, double amount);

// Every pixel of image, rows in the order the section stores them (row 0 first), each
// row left to right, takes three draws in the order red, green, blue:
// channel = clamp(channel - NoiseOffset(draw, amount), 0, 255). The fourth byte
// becomes 0. Reports once per row (total: the height); false when report stops it.
bool AddNoise(const PixelRows& image, double amount, CNoiseDraws& draws, const UnitReport& report);
