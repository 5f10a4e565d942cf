#pragma once
// From chains to one angle: for each minimum chain length, a length-weighted
// histogram of chain angles over a quarter turn gives one estimate at its single
// clear peak; the estimates then vote, a quarter turn being the same direction.

#include "filters/shared/straightening/EdgeChains.h"

#include <array>
#include <vector>

inline constexpr int kAngleBins = 81;
inline constexpr int kEstimateCount = 20;
inline constexpr int kMinimumLengthStep = 5;  // estimates for lengths 5, 10, ..., 100

// The weighted mean angle of the chains longer than minimumLength (end to end) in
// the histogram's peak bins; 0.0 when no chain is that long, when another direction
// is almost as strong as the peak, or when the peak holds no weight.
double EstimateAngle(const std::vector<EdgeChain>& chains, int minimumLength);

// The mean of the largest group of estimates within one degree of its smallest one,
// the group wrapping from the top of the quarter turn to its bottom.
double ConsensusAngle(std::array<double, kEstimateCount> estimates);
