#pragma once
// The blur kernel of Sharpen: an odd number of non-negative integer weights in units
// of 1/8192, symmetric about the centre and adding up to exactly 8192.

#include <cstdint>
#include <vector>

inline constexpr int kKernelShift = 13;
inline constexpr int32_t kKernelUnit = 1 << kKernelShift;

// The weights for Gaussian sigma (its sign ignored). Below sigma 0.25 the kernel is
// the one weight 8192. Sigmas beyond 1000, which no dialog offers, are taken as
// 1000, and a sigma that is no number as 0, so the length always fits in memory.
std::vector<int32_t> BuildGaussianKernel(double sigma);
