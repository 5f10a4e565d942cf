#include "filters/shared/straightening/AngleEstimates.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kDegreesPerRadian = 57.2957763671875;   // single precision's 180 / pi
constexpr double kQuarterTurn = 1.5707963705062866;      // single precision's pi / 2
constexpr double kOneDegree = 0.01745329238474369;       // single precision's pi / 180

struct Vote {
    double angle;
    double weight;
};

struct AngleHistogram {
    std::array<double, kAngleBins> weights{};
    std::array<std::vector<Vote>, kAngleBins> votes;
    bool empty = true;

    double operator[](int bin) const { return weights[static_cast<size_t>(bin)]; }
};

int Wrapped(int bin)
{
    return (bin + kAngleBins) % kAngleBins;
}

// Short chains lose a share of their weight that grows with the minimum length up
// to 20 and vanishes at 100, so that long chains dominate. An angle of exactly +45
// degrees would land one past the last bin and joins it.
AngleHistogram HistogramOf(const std::vector<EdgeChain>& chains, int minimumLength)
{
    const int p = minimumLength;
    const int l = std::clamp(p, 20, 100);
    const double offset = static_cast<double>((100 - l) * p) / 80;
    AngleHistogram histogram;
    for (const EdgeChain& chain : chains) {
        const ChainPoint first = chain.points.front();
        const ChainPoint last = chain.points.back();
        const int dx = last.x - first.x;
        const int dy = last.y - first.y;
        const float length = std::sqrt(static_cast<float>(dx * dx + dy * dy));
        if (!(length > static_cast<float>(p))) continue;
        const double weight = length - offset;
        const int bin = std::min(static_cast<int>((chain.angle * kDegreesPerRadian + 45.0) * kAngleBins / 90.0),
                                 kAngleBins - 1);
        histogram.weights[static_cast<size_t>(bin)] += weight;
        histogram.votes[static_cast<size_t>(bin)].push_back({chain.angle, weight});
        histogram.empty = false;
    }
    return histogram;
}

// The positive weights of three neighbouring bins, wrapping.
double WindowSum(const AngleHistogram& histogram, int start)
{
    double sum = 0.0;
    for (int k = start; k < start + 3; ++k) {
        if (histogram[Wrapped(k)] > 0) sum += histogram[Wrapped(k)];
    }
    return sum;
}

// The first window with the largest sum, or -1 when a window away from it (starting
// more than 3 bins before or at least 4 after, without wrapping) comes within 5
// percent of it.
int ClearPeak(const AngleHistogram& histogram)
{
    std::array<double, kAngleBins> windows{};
    int peak = 0;
    for (int k = 0; k < kAngleBins; ++k) {
        windows[static_cast<size_t>(k)] = WindowSum(histogram, k);
        if (windows[static_cast<size_t>(k)] > windows[static_cast<size_t>(peak)]) peak = k;
    }
    const double rival = 0.95 * windows[static_cast<size_t>(peak)];
    for (int k = 0; k < kAngleBins; ++k) {
        if ((k < peak - 3 || k >= peak + 4) && windows[static_cast<size_t>(k)] > rival) return -1;
    }
    return peak;
}

// A neighbour of the peak bins joins when it is above the threshold and beats at
// least one peak bin; the one beyond it when the neighbour beats two, and it is above
// the threshold, beats one peak bin and is below the neighbour.
void CollectSide(const AngleHistogram& histogram, const std::array<int, 3>& peakBins, double threshold, int near,
                 int far, std::vector<int>& collected)
{
    const auto beaten = [&](int bin) {
        int count = 0;
        for (const int peakBin : peakBins) count += histogram[bin] > histogram[peakBin] ? 1 : 0;
        return count;
    };
    if (!(histogram[near] > threshold && beaten(near) >= 1)) return;
    collected.push_back(near);
    if (beaten(near) >= 2 && histogram[far] > threshold && beaten(far) >= 1 && histogram[far] < histogram[near]) {
        collected.push_back(far);
    }
}

// The bins around the peak whose votes make the estimate, in the order they are
// summed: the three peak bins, two to the right, two to the left. The peak bins are
// lowered by 5 percent first, so that a strong neighbour can join them.
std::vector<int> CollectedBins(AngleHistogram& histogram, int peak, int minimumLength)
{
    const std::array<int, 3> peakBins{peak, Wrapped(peak + 1), Wrapped(peak + 2)};
    for (const int bin : peakBins) histogram.weights[static_cast<size_t>(bin)] *= 0.95;
    const double strongest = std::max({histogram[peakBins[0]], histogram[peakBins[1]], histogram[peakBins[2]]});
    const double threshold = (minimumLength / 200.0 + 0.45) * strongest;
    std::vector<int> collected;
    for (const int bin : peakBins) {
        if (histogram[bin] > threshold) collected.push_back(bin);
    }
    CollectSide(histogram, peakBins, threshold, Wrapped(peak + 3), Wrapped(peak + 4), collected);
    CollectSide(histogram, peakBins, threshold, Wrapped(peak - 1), Wrapped(peak - 2), collected);
    return collected;
}

} // namespace

double EstimateAngle(const std::vector<EdgeChain>& chains, int minimumLength)
{
    AngleHistogram histogram = HistogramOf(chains, minimumLength);
    if (histogram.empty) return 0.0;
    const int peak = ClearPeak(histogram);
    if (peak < 0) return 0.0;
    double weights = 0.0;
    double weightedAngles = 0.0;
    for (const int bin : CollectedBins(histogram, peak, minimumLength)) {
        for (const Vote& vote : histogram.votes[static_cast<size_t>(bin)]) {
            if (!(vote.weight > 0)) continue;
            weights += vote.weight;
            weightedAngles += vote.weight * vote.angle;
        }
    }
    if (std::fabs(weights) < 0.000001) return 0.0;
    return weightedAngles / weights;
}

// Past the largest estimate the group goes on with the smallest ones a quarter turn
// up; it never takes an estimate twice.
double ConsensusAngle(std::array<double, kEstimateCount> estimates)
{
    std::sort(estimates.begin(), estimates.end());
    double bestSum = 0.0;
    int bestCount = 0;
    for (int i = 0; i < kEstimateCount; ++i) {
        const double low = estimates[static_cast<size_t>(i)];
        double sum = low;
        int count = 1;
        for (int j = i + 1; j < i + kEstimateCount; ++j) {
            const double candidate = j < kEstimateCount ? estimates[static_cast<size_t>(j)]
                                                        : estimates[static_cast<size_t>(j - kEstimateCount)] + kQuarterTurn;
            if (!(candidate - low < kOneDegree)) break;
            sum += candidate;
            ++count;
        }
        if (count > bestCount) {
            bestSum = sum;
            bestCount = count;
        }
    }
    return bestSum / bestCount;
}
