#pragma once
// The operations timed side by side, and how each side is set up for one of them.
// Every side gets its picture in the layout it works on natively: ours 32-bit
// blue-green-red-x words, OpenCV 3-channel BGR, libvips 3-band RGB, all holding the
// same decoded pixels.

#include <opencv2/core.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct _VipsImage;

enum class OperationKind {
    Copy, FlipHorizontal, FlipVertical, Rotate90, Rotate180, ToneTable, Invert,
    ResizeHalf, ResizeDouble, Median, GaussianBlur, UnsharpMask, FreeRotate, Crop, Straightening, LensDistort,
};
enum class ResizeFamily { Linear, Cubic, Lanczos };

struct Operation {
    std::string name;
    OperationKind kind;
    int radius = 0;              // median
    double sigma = 0.0;          // blur and unsharp mask
    ResizeFamily family = ResizeFamily::Linear;
    // No peer computes the same thing: timed only in the scaling table.
    bool oursOnly = false;
};

// The operations in table order.
const std::vector<Operation>& AllOperations();

// One prepared run: reset (may be empty, untimed) puts the input back for kernels
// that work in place; apply is the timed work. Output buffers are allocated when the
// trial is made, so a trial's memory counts them.
struct Trial {
    std::function<void()> reset;
    std::function<void()> apply;
};

// The same picture for all three sides.
struct OurPicture {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

enum class Side { Ours, OpenCv, Vips };
inline constexpr Side kSides[] = {Side::Ours, Side::OpenCv, Side::Vips};
const char* SideName(Side side);

Trial PrepareOurs(const Operation& operation, const OurPicture& picture);
Trial PrepareOpenCv(const Operation& operation, const cv::Mat& bgr);
Trial PrepareVips(const Operation& operation, _VipsImage* rgb);
