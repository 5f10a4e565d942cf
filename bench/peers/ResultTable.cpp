#include "ResultTable.h"

#include <cstdio>

namespace {

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Milliseconds(double value)
{
    return Fixed(value, value < 10 ? 2 : 1);
}

std::string Megabytes(long kilobytes)
{
    return kilobytes < 0 ? "n/a" : Fixed(static_cast<double>(kilobytes) / 1024.0, 1);
}

std::string Ratio(double ours, double theirs)
{
    return Fixed(ours / theirs, 2);
}

// The footnote marks of the ways the sides differ for each kind of operation.
const char* NotesOf(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Copy: return "";
    case OperationKind::FlipHorizontal:
    case OperationKind::FlipVertical: return "[c]";
    case OperationKind::Rotate90:
    case OperationKind::Rotate180: return "";
    case OperationKind::ToneTable: return "[c] [d]";
    case OperationKind::Invert: return "[c]";
    case OperationKind::ResizeHalf:
    case OperationKind::ResizeDouble: return "[e]";
    case OperationKind::Median: return "[c] [f]";
    case OperationKind::GaussianBlur: return "[g]";
    case OperationKind::UnsharpMask: return "[g] [h]";
    case OperationKind::FreeRotate: return "[i]";
    case OperationKind::Crop: return "[j]";
    case OperationKind::Straightening: return "";
    case OperationKind::LensDistort: return "[k]";
    }
    return "";
}

constexpr const char* kFootnotes = R"(
Times are the median of the runs, in milliseconds, wall clock, one thread on every
side but in the all-cores columns; a ratio above 1 means we are slower. Memory is the growth of the peak resident
set during one apply (output and working buffers) in a fresh process that has
already loaded the picture.

- [a] Level: ours calls the filters' pure kernels directly (the functions the filters
  run, with the same run-time choice of SSE2/AVX2 variant); the host's clone of the
  input, progress reports and parameter parsing are left out. Peers: one library call
  (libvips: build the pipeline and compute it, operation cache off, concurrency 1;
  OpenCV: cv::setNumThreads(0); ours: SetKernelThreadCount(1)).
- [b] Layouts: each side gets the layout it works on natively, all holding the same
  decoded pixels: ours 4 bytes a pixel (B, G, R, x), OpenCV 3-channel BGR, libvips
  3-band sRGB uchar. Peers therefore move 25% fewer bytes, and their outputs are 3/4
  of ours in the memory columns. Every output buffer is allocated and touched before
  timing (libvips writes into a memory image wrapping it), so page faults stay out.
- [c] Ours works in place on a copy of the input restored before each run, untimed;
  the filter clones its input first, which costs about the copy row. Peers write a
  separate output.
- [d] Ours maps B, G and R through one table each (here the same table); OpenCV
  cv::LUT with one 256-entry table; libvips vips_maplut.
- [e] Ours: triangle, Mitchell-Netravali (B = C = 1/3) and Lanczos-3 kernels, 7-bit
  fixed-point weights, widened when shrinking, corner-aligned mapping. OpenCV:
  INTER_LINEAR, INTER_CUBIC (a = -0.75), INTER_LANCZOS4 (8 taps); these do not
  widen the kernel when shrinking, so they do fewer taps per pixel and alias (an
  exact halving with INTER_LINEAR becomes a 2x2 box average). libvips vips_resize
  with LINEAR, CUBIC, LANCZOS3; it shrinks with vips_reduce (widened kernels) and
  enlarges through a bilinear or bicubic interpolator (LANCZOS3 doubling gives the
  same bytes as CUBIC). OpenCV and libvips map pixel centres.
- [f] Ours orders the whole pixels of the window by luma (then R, G, B) and outputs
  one of them; OpenCV and libvips take the median of each channel on its own.
- [g] Ours: taps to +-2 sigma (5, 11, 41 taps), 13-bit fixed point. OpenCV with
  ksize 0: +-3 sigma for 8-bit images (7, 17, 61 taps), fixed point. libvips
  vips_gaussblur: integer mask cut at amplitude 0.2 (about +-1.8 sigma).
- [h] Amount 1, threshold 0. Ours: blur, then a merge table. OpenCV: GaussianBlur
  then addWeighted(src, 2, blurred, -1). libvips vips_sharpen: converts to LabS,
  sharpens lightness only (m1 = m2 = 1, x1 = 0), converts back: a different and
  dearer computation.
- [i] 10 degrees, the whole turned picture (4460 x 3649 from 4000 x 3000), white
  corners, each side's output box and mapping taken from our layout. Ours: 10-bit
  fixed-point weights and steps (the steps' truncation puts the last pixels of a row
  up to 3.6 source pixels from the exact point, as the filter defines), the border
  blended with the background; planning the layout is inside the timing. OpenCV:
  warpAffine with INTER_LINEAR (5-bit fractions), BORDER_CONSTANT, the inverse map.
  libvips: vips_affine with the bilinear interpolator, oarea and odx/ody giving the
  same box, extend background. OpenCV and libvips agree to 1 level.
- [j] The middle 3000 x 2000. Ours: the host's crop loop, one memcpy per row, into a
  buffer made beforehand. OpenCV: copyTo of the roi into a preallocated Mat (what
  clone does, without its allocation). libvips: vips_extract_area.
- [k] Coefficient 0.05 (barrel), the source point of each output pixel at the radius
  changed by the cubic term. Ours works the point out per pixel in double precision
  (four pixels a step, the roots and quotients shared by the four pixels at the same
  distances from the centre row and column) and gives the bytes of rounded bilinear
  sums of doubles: float sums settle every pixel but those within 1/1024 of a half,
  which the double sums redo. OpenCV: remap
  with INTER_LINEAR (5-bit fractions) and BORDER_CONSTANT 0; libvips: vips_mapim with
  the bilinear interpolator. Both are given our points as float maps made before
  the timing, so their rows count only the sampling.
- [l] Ours on every core (SetKernelThreadCount(0): BASICFILTERS_THREADS or the
  processor's cores) and OpenCV with its default threading (cv::setNumThreads(-1));
  libvips stays out. Each side's runs back to back after a warm-up, not alternating:
  OpenCV's TBB workers spin for a while after each call and take a core from the
  run that follows (ours wait busy too, for 20 ms, yielding to other threads). The
  last column is the speed-up the cores give ours: the median, over as many pairs of
  runs, of one thread's time over every core's, the two runs of a pair back to back
  (every core's after an untimed run that wakes our threads), so that a slow spell
  of a shared machine weighs on both runs of a ratio.
)";

} // namespace

void WriteComparisonMarkdown(std::ostream& out, const std::vector<ComparisonRow>& rows, int runs)
{
    out << "| operation [a] [b] | ours ms | OpenCV ms | libvips ms | ours/OpenCV | ours/libvips | ours MB | OpenCV MB "
           "| libvips MB | all cores [l]: ours ms | OpenCV ms | ours/OpenCV | ours 1 thread/all | notes |\n"
        << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n";
    for (const ComparisonRow& row : rows) {
        const auto& ms = row.milliseconds;
        out << "| " << row.operation->name << " | " << Milliseconds(ms[0]) << " | " << Milliseconds(ms[1]) << " | "
            << Milliseconds(ms[2]) << " | " << Ratio(ms[0], ms[1]) << " | " << Ratio(ms[0], ms[2]) << " | "
            << Megabytes(row.kilobytes[0]) << " | " << Megabytes(row.kilobytes[1]) << " | "
            << Megabytes(row.kilobytes[2]) << " | " << Milliseconds(row.allCores[0]) << " | "
            << Milliseconds(row.allCores[1]) << " | " << Ratio(row.allCores[0], row.allCores[1]) << " | "
            << Fixed(row.oursSpeedUp, 2) << " | " << NotesOf(row.operation->kind) << " |\n";
    }
    out << "\nMedian of " << runs << " alternating runs (ours, OpenCV, libvips, ours, ...) after one warm-up each.\n"
        << kFootnotes;
}

void WriteComparisonCsv(std::ostream& out, const std::vector<ComparisonRow>& rows)
{
    out << "operation,ours_ms,opencv_ms,vips_ms,ours_over_opencv,ours_over_vips,ours_peak_kb,opencv_peak_kb,"
           "vips_peak_kb,ours_all_cores_ms,opencv_all_cores_ms,ours_paired_speed_up\n";
    for (const ComparisonRow& row : rows) {
        const auto& ms = row.milliseconds;
        out << '"' << row.operation->name << "\"," << Fixed(ms[0], 3) << ',' << Fixed(ms[1], 3) << ','
            << Fixed(ms[2], 3) << ',' << Fixed(ms[0] / ms[1], 4) << ',' << Fixed(ms[0] / ms[2], 4) << ','
            << row.kilobytes[0] << ',' << row.kilobytes[1] << ',' << row.kilobytes[2] << ',' << Fixed(row.allCores[0], 3)
            << ',' << Fixed(row.allCores[1], 3) << ',' << Fixed(row.oursSpeedUp, 4) << '\n';
    }
}

void WriteScalingMarkdown(std::ostream& out, const std::vector<ScalingRow>& rows,
                          const std::vector<PictureSize>& sizes, int runs)
{
    out << "| operation (ours)";
    for (const PictureSize& size : sizes) {
        out << " | " << Fixed(size.width * static_cast<double>(size.height) / 1e6, 0) << " MP ms";
    }
    out << " | ns/pixel at " << Fixed(sizes.front().width * static_cast<double>(sizes.front().height) / 1e6, 0)
        << " MP | ns/pixel at " << Fixed(sizes.back().width * static_cast<double>(sizes.back().height) / 1e6, 0)
        << " MP |\n|---";
    for (size_t i = 0; i < sizes.size() + 2; ++i) out << "|---:";
    out << "|\n";
    const auto nanosecondsPerPixel = [](double ms, const PictureSize& size) {
        return ms * 1e6 / (static_cast<double>(size.width) * size.height);
    };
    for (const ScalingRow& row : rows) {
        out << "| " << row.operation->name;
        for (size_t i = 0; i < sizes.size(); ++i) {
            out << " | " << Milliseconds(row.milliseconds[i]);
            if (row.runs[i] < runs) out << " (" << row.runs[i] << ")";
        }
        out << " | " << Fixed(nanosecondsPerPixel(row.milliseconds.front(), sizes.front()), 2) << " | "
            << Fixed(nanosecondsPerPixel(row.milliseconds.back(), sizes.back()), 2) << " |\n";
    }
    out << "\nMedian of " << runs << " runs after one warm-up; (n) marks a cell capped at n runs to bound the time.\n"
        << "Sizes:";
    for (const PictureSize& size : sizes) out << ' ' << size.width << 'x' << size.height;
    out << ". ns/pixel counts source pixels; resizes make 1/4 or 4 times as many, the 10-degree rotation 1.36\n"
        << "times as many and the crop 1/2. The straightening detection reads every pixel once, then works\n"
        << "on a copy at most 640 pixels long.\n";
}

void WriteScalingCsv(std::ostream& out, const std::vector<ScalingRow>& rows, const std::vector<PictureSize>& sizes)
{
    out << "operation,width,height,ms,runs\n";
    for (const ScalingRow& row : rows) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            out << '"' << row.operation->name << "\"," << sizes[i].width << ',' << sizes[i].height << ','
                << Fixed(row.milliseconds[i], 3) << ',' << row.runs[i] << '\n';
        }
    }
}
