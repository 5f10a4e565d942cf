#include "filters/shared/gaussian/WeightedRowVector.h"

void WeightedRowFixedPointSse2(const uint8_t* const* sources, const int32_t* weights, int taps, uint8_t* out,
                               int width)
{
    WeightedRowFixedPointVector<Vectors128>(sources, weights, taps, out, width, &WeightedRowFixedPointScalar);
}
