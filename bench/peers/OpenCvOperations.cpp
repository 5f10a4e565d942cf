// OpenCV's side: one call per operation into a preallocated, already touched output,
// which OpenCV reuses when its size and type fit.

#include "Operations.h"
#include "Settings.h"

#include "filters/brightness-contrast/BrightnessContrastKernel.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <memory>
#include <stdexcept>

namespace {

using Work = std::function<void(const cv::Mat& source, cv::Mat& output)>;

Trial Into(const cv::Mat& source, cv::Size size, Work work)
{
    auto output = std::make_shared<cv::Mat>(size, source.type(), cv::Scalar::all(0));
    return {{}, [&source, output, work] { work(source, *output); }};
}

int InterpolationOf(ResizeFamily family)
{
    switch (family) {
    case ResizeFamily::Linear: return cv::INTER_LINEAR;
    case ResizeFamily::Cubic: return cv::INTER_CUBIC;
    case ResizeFamily::Lanczos: return cv::INTER_LANCZOS4;
    }
    return cv::INTER_LINEAR;
}

Trial Resize(const cv::Mat& bgr, ResizeFamily family, bool doubled)
{
    const cv::Size size = doubled ? cv::Size(bgr.cols * 2, bgr.rows * 2) : cv::Size(bgr.cols / 2, bgr.rows / 2);
    return Into(bgr, size, [size, interpolation = InterpolationOf(family)](const cv::Mat& source, cv::Mat& output) {
        cv::resize(source, output, size, 0, 0, interpolation);
    });
}

Trial UnsharpMask(const cv::Mat& bgr, double sigma)
{
    auto blurred = std::make_shared<cv::Mat>(bgr.size(), bgr.type(), cv::Scalar::all(0));
    return Into(bgr, bgr.size(), [sigma, blurred](const cv::Mat& source, cv::Mat& output) {
        cv::GaussianBlur(source, *blurred, cv::Size(), sigma);
        cv::addWeighted(source, 1.0 + kUnsharpAmount, *blurred, -kUnsharpAmount, 0.0, output);
    });
}

Trial ToneTable(const cv::Mat& bgr)
{
    return Into(bgr, bgr.size(), [](const cv::Mat& source, cv::Mat& output) {
        cv::Mat table(1, 256, CV_8U);
        BuildBrightnessContrastTable(kBrightness, kContrast, table.ptr<uint8_t>());
        cv::LUT(source, table, output);
    });
}

// Inverse mapping, as our kernel walks it: each output pixel samples the source point
// the layout gives it.
Trial FreeRotate(const cv::Mat& bgr)
{
    const RotationLayout layout = FreeRotationLayout(bgr.cols, bgr.rows);
    const std::array<double, 6> m = OutputToSource(layout);
    const cv::Mat toSource = (cv::Mat_<double>(2, 3) << m[0], m[1], m[2], m[3], m[4], m[5]);
    const cv::Size size(layout.width, layout.height);
    return Into(bgr, size, [toSource, size](const cv::Mat& source, cv::Mat& output) {
        cv::warpAffine(source, output, toSource, size, cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                       cv::Scalar::all(kRotationBackground));
    });
}

// remap with the source points in two float maps, made before the timing.
Trial LensDistort(const cv::Mat& bgr)
{
    auto mapX = std::make_shared<cv::Mat>(bgr.size(), CV_32FC1);
    auto mapY = std::make_shared<cv::Mat>(bgr.size(), CV_32FC1);
    for (int y = 0; y < bgr.rows; ++y) {
        for (int x = 0; x < bgr.cols; ++x) {
            const LensPoint point = LensSourcePoint(bgr.cols, bgr.rows, x, y);
            mapX->at<float>(y, x) = static_cast<float>(point.x);
            mapY->at<float>(y, x) = static_cast<float>(point.y);
        }
    }
    return Into(bgr, bgr.size(), [mapX, mapY](const cv::Mat& source, cv::Mat& output) {
        cv::remap(source, output, *mapX, *mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar::all(0));
    });
}

Trial Crop(const cv::Mat& bgr)
{
    const CropRectangle crop = CropOf(bgr.cols, bgr.rows);
    const cv::Rect area(crop.left, crop.top, crop.width, crop.height);
    return Into(bgr, area.size(), [area](const cv::Mat& source, cv::Mat& output) { source(area).copyTo(output); });
}

} // namespace

Trial PrepareOpenCv(const Operation& operation, const cv::Mat& bgr)
{
    const cv::Size size = bgr.size();
    switch (operation.kind) {
    case OperationKind::Copy:
        return Into(bgr, size, [](const cv::Mat& source, cv::Mat& output) { source.copyTo(output); });
    case OperationKind::FlipHorizontal:
        return Into(bgr, size, [](const cv::Mat& source, cv::Mat& output) { cv::flip(source, output, 1); });
    case OperationKind::FlipVertical:
        return Into(bgr, size, [](const cv::Mat& source, cv::Mat& output) { cv::flip(source, output, 0); });
    case OperationKind::Rotate90:
        return Into(bgr, cv::Size(size.height, size.width), [](const cv::Mat& source, cv::Mat& output) {
            cv::rotate(source, output, cv::ROTATE_90_CLOCKWISE);
        });
    case OperationKind::Rotate180:
        return Into(bgr, size, [](const cv::Mat& source, cv::Mat& output) {
            cv::rotate(source, output, cv::ROTATE_180);
        });
    case OperationKind::ToneTable: return ToneTable(bgr);
    case OperationKind::Invert:
        return Into(bgr, size, [](const cv::Mat& source, cv::Mat& output) { cv::bitwise_not(source, output); });
    case OperationKind::ResizeHalf: return Resize(bgr, operation.family, false);
    case OperationKind::ResizeDouble: return Resize(bgr, operation.family, true);
    case OperationKind::Median:
        return Into(bgr, size, [size = 2 * operation.radius + 1](const cv::Mat& source, cv::Mat& output) {
            cv::medianBlur(source, output, size);
        });
    case OperationKind::GaussianBlur:
        return Into(bgr, size, [sigma = operation.sigma](const cv::Mat& source, cv::Mat& output) {
            cv::GaussianBlur(source, output, cv::Size(), sigma);
        });
    case OperationKind::UnsharpMask: return UnsharpMask(bgr, operation.sigma);
    case OperationKind::FreeRotate: return FreeRotate(bgr);
    case OperationKind::Crop: return Crop(bgr);
    case OperationKind::LensDistort: return LensDistort(bgr);
    case OperationKind::Straightening: throw std::logic_error("OpenCV has no straightening detection");
    }
    return {};
}
