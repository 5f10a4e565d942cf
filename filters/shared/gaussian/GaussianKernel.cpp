#include "filters/shared/gaussian/GaussianKernel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLargestSigma = 1000.0;
constexpr int kSideSamples = 50;
constexpr int kCentreSamples = 51;
constexpr double kSampleSpacing = 0.02;

double Gaussian(double t, double s)
{
    return std::exp(-t * t / (2 * s * s));
}

// The mean over the tap's unit interval, sampled at its 50 right-hand points; the
// curve is cut off at 2s so that the outermost taps fade out.
double SideTap(double x0, double s)
{
    double sum = 0.0;
    for (int k = 1; k <= kSideSamples; ++k) {
        const double t = x0 + kSampleSpacing * k;
        sum += t <= 2 * s ? Gaussian(t, s) : 0.0;
    }
    return (1.0 / kSideSamples) * sum;
}

// The centre interval is sampled at both ends, 51 points, and never cut off.
double CentreTap(double s)
{
    double sum = 0.0;
    for (int k = 0; k <= kCentreSamples - 1; ++k) sum += Gaussian(-0.5 + kSampleSpacing * k, s);
    return (1.0 / kCentreSamples) * sum;
}

std::vector<double> RealWeights(double s)
{
    const int taps = std::max(1, 2 * static_cast<int>(std::ceil(2 * s - 0.5)) + 1);
    const int centre = taps / 2;
    std::vector<double> weights(static_cast<size_t>(taps));
    for (int i = centre + 1; i < taps; ++i) weights[static_cast<size_t>(i)] = SideTap(i - centre - 0.5, s);
    for (int j = 0; j < centre; ++j) weights[static_cast<size_t>(j)] = weights[static_cast<size_t>(taps - 1 - j)];
    weights[static_cast<size_t>(centre)] = CentreTap(s);
    return weights;
}

} // namespace

std::vector<int32_t> BuildGaussianKernel(double sigma)
{
    const double magnitude = std::isnan(sigma) ? 0.0 : std::min(std::fabs(sigma), kLargestSigma);
    const std::vector<double> weights = RealWeights(magnitude + 0.00001);
    double total = 0.0;
    for (const double weight : weights) total += weight;

    std::vector<int32_t> kernel(weights.size());
    int32_t quantised = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        kernel[i] = static_cast<int32_t>(weights[i] / total * kKernelUnit);
        quantised += kernel[i];
    }
    // Truncation loses a little of every tap; the centre takes it all back.
    kernel[kernel.size() / 2] += kKernelUnit - quantised;
    return kernel;
}
