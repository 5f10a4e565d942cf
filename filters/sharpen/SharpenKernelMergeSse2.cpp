#include "filters/sharpen/UnsharpMergeVector.h"

void MergeRowFixedPointSse2(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                            int threshold)
{
    MergeRowFixedPointVector<Vectors128>(original, blurred, out, width, amount32, threshold,
                                         &MergeRowFixedPointScalar);
}
