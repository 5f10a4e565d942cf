#include "filters/shared/gaussian/WeightedRowVector.h"

// Rows of four to seven pixels still take one SSE2 block and its overlap.
void WeightedRowFixedPointAvx2(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width)
{
    WeightedRowFixedPointVector<Vectors256>(sources, weights, taps, out, width, &WeightedRowFixedPointSse2);
}
