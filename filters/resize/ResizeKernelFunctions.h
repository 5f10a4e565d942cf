#pragma once
// The filter kernels of the module's own resampler: the weight of a source pixel
// at a real distance from the sampling position, and how far each kernel reaches.

// The five settings of "ResizerMode", and 0 for a resolution-only change.
enum ResizeMode : int {
    kResizeResolutionOnly = 0,
    kResizeNearestNeighbour = 1,
    kResizeBilinear = 2,
    kResizeBartlett = 3,
    kResizeMitchellNetravali = 4,
    kResizeLanczos = 5,
};

using ResizeKernel = double (*)(double distance);

double TriangleKernel(double distance);
double MitchellNetravaliKernel(double distance);
double LanczosKernel(double distance);

// The kernel and support radius of the three filter-kernel modes; false for any
// other mode, which has no kernel.
bool KernelOfMode(int mode, ResizeKernel& kernel, int& radius);
