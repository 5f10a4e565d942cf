#include "filters/shared/straightening/RecursiveGaussian.h"

#include <algorithm>
#include <cmath>

const RecursiveCoefficients kSmoothingCoefficients{
    {-1.23715246f, 0.703402638f, -0.216110468f, 0.0300167557f},
    {0.19940798f, -0.0706431419f, 0.0434941426f, -0.00424799183f},
    {0.176054925f, -0.0967699587f, 0.0388461612f, -0.00598558038f}};

const RecursiveCoefficients kDerivativeCoefficients{
    {-1.35762203f, 0.857098222f, -0.296970785f, 0.0476916246f},
    {0.00112494826f, -0.226754412f, -0.00366312917f, -0.0206230097f},
    {0.225227162f, 0.00462732045f, 0.0202889331f, 0.0000536506086f}};

namespace {

// Room for the four terms before the start (or after the end) of a run: zeros there
// add nothing to a non-zero sum, which is what leaving the terms out gives.
constexpr int kHistory = 4;

} // namespace

RecursiveLineFilter::RecursiveLineFilter(const RecursiveCoefficients& coefficients, int padding)
    : m_coefficients(coefficients), m_padding(std::max(padding, 0))
{
}

void RecursiveLineFilter::Run(const float* in, ptrdiff_t inStep, int count, float* out, ptrdiff_t outStep)
{
    const int padded = count + 2 * m_padding;
    const auto size = static_cast<size_t>(padded + 2 * kHistory);
    m_line.assign(size, 0.0f);
    m_forward.assign(size, 0.0f);
    m_backward.assign(size, 0.0f);
    float* x = m_line.data() + kHistory;
    for (int i = 0; i < m_padding; ++i) x[i] = in[0];
    for (int i = 0; i < count; ++i) x[m_padding + i] = in[inStep * i];
    for (int i = 0; i < m_padding; ++i) x[m_padding + count + i] = in[inStep * (count - 1)];

    const float* d = m_coefficients.feedback;
    const float* f = m_coefficients.causal;
    const float* r = m_coefficients.anticausal;
    float* forward = m_forward.data() + kHistory;
    for (int i = 0; i < padded; ++i) {
        forward[i] = f[0] * x[i] + f[1] * x[i - 1] + f[2] * x[i - 2] + f[3] * x[i - 3] - d[0] * forward[i - 1] -
                     d[1] * forward[i - 2] - d[2] * forward[i - 3] - d[3] * forward[i - 4];
    }
    float* backward = m_backward.data() + kHistory;
    for (int i = padded - 1; i >= 0; --i) {
        backward[i] = r[0] * x[i + 1] + r[1] * x[i + 2] + r[2] * x[i + 3] + r[3] * x[i + 4] - d[0] * backward[i + 1] -
                      d[1] * backward[i + 2] - d[2] * backward[i + 3] - d[3] * backward[i + 4];
    }
    for (int i = 0; i < count; ++i) out[outStep * i] = forward[m_padding + i] + backward[m_padding + i];
}

namespace {

// Filters every row of in into out, one unit each.
bool FilterRows(const WorkingPlane<float>& in, RecursiveLineFilter& filter, WorkingPlane<float>& out,
                StageProgress& progress)
{
    for (int y = 0; y < in.height; ++y) {
        if (!progress.Next()) return false;
        filter.Run(in.Row(y), 1, in.width, out.Row(y), 1);
    }
    return true;
}

// Filters every column of in into out, one unit each.
bool FilterColumns(const WorkingPlane<float>& in, RecursiveLineFilter& filter, WorkingPlane<float>& out,
                   StageProgress& progress)
{
    for (int x = 0; x < in.width; ++x) {
        if (!progress.Next()) return false;
        filter.Run(in.Row(0) + x, in.width, in.height, out.Row(0) + x, out.width);
    }
    return true;
}

// One gradient component: a row pass with one set, then a column pass with the other.
bool FilterPlane(const WorkingPlane<float>& in, RecursiveLineFilter& rowFilter, RecursiveLineFilter& columnFilter,
                 WorkingPlane<float>& out, StageProgress& progress)
{
    WorkingPlane<float> rowsDone(in.width, in.height);
    out = WorkingPlane<float>(in.width, in.height);
    return FilterRows(in, rowFilter, rowsDone, progress) && FilterColumns(rowsDone, columnFilter, out, progress);
}

} // namespace

bool ComputeGradient(const WorkingPlane<uint8_t>& plane, int padding, GradientPlanes& gradient,
                     StageProgress& progress)
{
    WorkingPlane<float> samples(plane.width, plane.height);
    std::copy(plane.values.begin(), plane.values.end(), samples.values.begin());
    RecursiveLineFilter smoothing(kSmoothingCoefficients, padding);
    RecursiveLineFilter derivative(kDerivativeCoefficients, padding);
    if (!FilterPlane(samples, derivative, smoothing, gradient.horizontal, progress)) return false;
    if (!FilterPlane(samples, smoothing, derivative, gradient.vertical, progress)) return false;
    gradient.magnitude = WorkingPlane<float>(plane.width, plane.height);
    for (size_t i = 0; i < samples.values.size(); ++i) {
        const float gx = gradient.horizontal.values[i];
        const float gy = gradient.vertical.values[i];
        gradient.magnitude.values[i] = std::sqrt(gx * gx + gy * gy);
    }
    return true;
}
