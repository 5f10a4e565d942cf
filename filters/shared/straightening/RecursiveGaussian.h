#pragma once
// The gradient of the working plane by 4th-order recursive Gaussian filters: a fixed
// 8 multiplications per sample and direction, whatever the scale, one coefficient
// set smoothing and one differentiating.

#include "filters/shared/straightening/StageProgress.h"
#include "filters/shared/straightening/WorkingPlane.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct RecursiveCoefficients {
    float feedback[4];     // d1 .. d4
    float causal[4];       // f0 .. f3, on the sample and the three before it
    float anticausal[4];   // r1 .. r4, on the four samples after it
};

extern const RecursiveCoefficients kSmoothingCoefficients;
extern const RecursiveCoefficients kDerivativeCoefficients;

// One line at a time: the line is padded at both ends with copies of its end
// samples, run forwards and backwards, and the two runs added.
class RecursiveLineFilter {
public:
    // padding below 0 counts as 0.
    RecursiveLineFilter(const RecursiveCoefficients& coefficients, int padding);

    // Filters count samples read step apart from in into out (step apart as well).
    void Run(const float* in, ptrdiff_t inStep, int count, float* out, ptrdiff_t outStep);

private:
    const RecursiveCoefficients& m_coefficients;
    int m_padding;
    // The padded line and the two runs, each between four zeros on either side that
    // stand for the terms before the start and after the end.
    std::vector<float> m_line;
    std::vector<float> m_forward;
    std::vector<float> m_backward;
};

struct GradientPlanes {
    WorkingPlane<float> horizontal;  // gx
    WorkingPlane<float> vertical;    // gy
    WorkingPlane<float> magnitude;
};

// gx: rows differentiated, then columns smoothed; gy: rows smoothed, then columns
// differentiated; the magnitude is the root of gx² + gy². Counts one unit per row of
// each row pass and per column of each column pass; false when stopped.
bool ComputeGradient(const WorkingPlane<uint8_t>& plane, int padding, GradientPlanes& gradient,
                     StageProgress& progress);
