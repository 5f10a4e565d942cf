#include "filters/sharpen/UnsharpMergeVector.h"

// Rows of four to seven pixels still take one SSE2 block and its overlap.
void MergeRowFixedPointAvx2(const uint8_t* original, const uint8_t* blurred, uint8_t* out, int width, int amount32,
                            int threshold)
{
    MergeRowFixedPointVector<Vectors256>(original, blurred, out, width, amount32, threshold,
                                         &MergeRowFixedPointSse2);
}
