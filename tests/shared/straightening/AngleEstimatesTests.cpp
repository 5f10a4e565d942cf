// Estimates and consensus of the straightening detection on chains and estimates
// made up here: length weights, the peak bins and their neighbours, ambiguous
// histograms, and clusters that wrap across +-45 degrees.

#include "filters/shared/straightening/AngleEstimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

// Only a chain's end points count for its length.
EdgeChain Chain(int length, double degrees)
{
    return {{{0, 0}, {length, 0}}, Radians(degrees)};
}

// The weighted mean of the rules, summed in the order given.
double WeightedMean(const std::vector<std::pair<double, double>>& weightsAndDegrees)
{
    double weights = 0.0;
    double weighted = 0.0;
    for (const auto& [weight, degrees] : weightsAndDegrees) {
        weights += weight;
        weighted += weight * Radians(degrees);
    }
    return weighted / weights;
}

} // namespace

TEST(AngleEstimates, OnlyChainsLongerThanTheMinimumVote)
{
    const std::vector<EdgeChain> chains{Chain(50, 3.0)};
    for (int p = 5; p <= 45; p += 5) EXPECT_DOUBLE_EQ(EstimateAngle(chains, p), Radians(3.0)) << p;
    EXPECT_EQ(EstimateAngle(chains, 50), 0.0);
    EXPECT_EQ(EstimateAngle({}, 5), 0.0);
}

TEST(AngleEstimates, LongerChainsWeighMoreAfterTheOffset)
{
    // Both in bin 43. p 5: offset (100 - 20) x 5 / 80 = 5; p 25: 75 x 25 / 80 = 23.4375.
    const std::vector<EdgeChain> chains{Chain(30, 3.0), Chain(60, 3.5)};
    EXPECT_NEAR(EstimateAngle(chains, 5), WeightedMean({{25.0, 3.0}, {55.0, 3.5}}), 1e-15);
    EXPECT_NEAR(EstimateAngle(chains, 25), WeightedMean({{6.5625, 3.0}, {36.5625, 3.5}}), 1e-15);
}

TEST(AngleEstimates, NeighboursOfThePeakJoinWhenTheyBeatAPeakBin)
{
    // Weights (length - 5 at p 5) in bins 40 (0 degrees), 41 (1.0), 42 (2.2), 43 (3.3),
    // 44 (4.4) and 39 (-1.0). Windows of three bins; the peak bins are lowered to 95
    // percent and the threshold is 0.475 of the largest of them.
    {
        // 100, 100, 20 | 90: the window at 40 (220) wins; bins 40, 41 pass 45.125, 42
        // does not; 43 beats one peak bin (19) and joins.
        const std::vector<EdgeChain> chains{Chain(105, 0.0), Chain(105, 1.0), Chain(25, 2.2), Chain(95, 3.3)};
        EXPECT_NEAR(EstimateAngle(chains, 5), WeightedMean({{100, 0.0}, {100, 1.0}, {90, 3.3}}), 1e-15);
    }
    {
        // 100, 50, 20 | 90, 60: 43 beats two peak bins (47.5 and 19), so 44, above the
        // threshold, beating one and below 43, joins as well.
        const std::vector<EdgeChain> chains{Chain(105, 0.0), Chain(55, 1.0), Chain(25, 2.2), Chain(95, 3.3),
                                            Chain(65, 4.4)};
        EXPECT_NEAR(EstimateAngle(chains, 5),
                    WeightedMean({{100, 0.0}, {50, 1.0}, {90, 3.3}, {60, 4.4}}), 1e-15);
    }
    {
        // 50 | 100, 100, 52: the left neighbour beats bin 42 (49.4) and joins, last.
        const std::vector<EdgeChain> chains{Chain(55, -1.0), Chain(105, 0.0), Chain(105, 1.0), Chain(57, 2.2)};
        EXPECT_NEAR(EstimateAngle(chains, 5), WeightedMean({{100, 0.0}, {100, 1.0}, {52, 2.2}, {50, -1.0}}),
                    1e-15);
    }
}

TEST(AngleEstimates, ARivalDirectionWithin5PercentMakesTheEstimate0)
{
    EXPECT_EQ(EstimateAngle({Chain(105, 3.0), Chain(105, 30.0)}, 5), 0.0);
    EXPECT_EQ(EstimateAngle({Chain(105, 3.0), Chain(101, -30.0)}, 5), 0.0);   // 96 of 100
    EXPECT_DOUBLE_EQ(EstimateAngle({Chain(105, 3.0), Chain(99, 30.0)}, 5), Radians(3.0));  // 94 of 100
}

TEST(AngleEstimates, ConsensusWrapsFromTheTopOfTheQuarterTurnToItsBottom)
{
    // -44.8 degrees counts as +45.2 (a quarter turn up in single precision).
    std::array<double, kEstimateCount> estimates{};
    for (int i = 0; i < 6; ++i) estimates[static_cast<size_t>(i)] = Radians(44.6);
    for (int i = 6; i < 12; ++i) estimates[static_cast<size_t>(i)] = Radians(-44.8);
    for (int i = 12; i < 20; ++i) estimates[static_cast<size_t>(i)] = Radians(2.0);
    const double quarter = 1.5707963705062866;
    double expected = 0.0;
    for (int i = 0; i < 6; ++i) expected += Radians(44.6);
    for (int i = 0; i < 6; ++i) expected += Radians(-44.8) + quarter;
    EXPECT_NEAR(ConsensusAngle(estimates), expected / 12, 1e-12);
    EXPECT_NEAR(ConsensusAngle(estimates), Radians(44.9), 1e-7);
}

TEST(AngleEstimates, ConsensusTakesTheFirstLargestGroupWithinOneDegreeOfItsLowest)
{
    std::array<double, kEstimateCount> estimates{};
    // 1.0, 1.5 and 1.99 are within a degree of 1.0; 2.1 is not. From 1.5 the group is
    // as large, not larger. The rest lie 2 degrees apart.
    const double group[4] = {1.0, 1.5, 1.99, 2.1};
    for (int i = 0; i < 4; ++i) estimates[static_cast<size_t>(i)] = Radians(group[i]);
    for (int i = 4; i < 20; ++i) estimates[static_cast<size_t>(i)] = Radians(10.0 + 2.0 * (i - 4));
    EXPECT_NEAR(ConsensusAngle(estimates), (Radians(1.0) + Radians(1.5) + Radians(1.99)) / 3, 1e-15);

    std::array<double, kEstimateCount> halves{};
    for (int i = 0; i < 10; ++i) halves[static_cast<size_t>(i)] = Radians(5.0);
    for (int i = 10; i < 20; ++i) halves[static_cast<size_t>(i)] = Radians(1.0);
    EXPECT_NEAR(ConsensusAngle(halves), Radians(1.0), 1e-15);

    std::array<double, kEstimateCount> noTilt{};
    EXPECT_EQ(ConsensusAngle(noTilt), 0.0);
}
