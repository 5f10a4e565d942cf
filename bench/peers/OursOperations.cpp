// Our side runs the pure kernels the filters call, with the same run-time choice of
// vector variant, but without the host around them (no clone, progress or
// parameter texts).

#include "Operations.h"
#include "Settings.h"

#include "filters/resize/ResizeKernelPlane.h"
#include "filters/resize/ResizeKernelFunctions.h"
#include "filters/flip-rotate/FlipRotateKernels.h"
#include "filters/shared/gaussian/GaussianKernel.h"
#include "filters/median/MedianKernel.h"
#include "filters/shared/gaussian/SeparablePasses.h"
#include "filters/sharpen/SharpenKernelMerge.h"
#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "filters/shared/channel-tables/ChannelMapper.h"
#include "filters/rotate/RotateKernel.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "filters/lens-distort/LensDistortKernel.h"
#include "filters/invert/InvertKernel.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

using Pixels = std::vector<uint32_t>;

PixelRows RowsOf(const uint32_t* pixels, int width, int height)
{
    // The kernels take mutable rows; a source is only ever read.
    return {reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(pixels)), ptrdiff_t{4} * width, width, height};
}

uint8_t* BytesOf(Pixels& pixels)
{
    return reinterpret_cast<uint8_t*>(pixels.data());
}

const uint8_t* BytesOf(const Pixels& pixels)
{
    return reinterpret_cast<const uint8_t*>(pixels.data());
}

// The filters that work in place clone their input first; the copy is put back
// untimed before every run.
Trial InPlace(const OurPicture& picture, std::function<void(Pixels&)> kernel)
{
    auto work = std::make_shared<Pixels>(picture.pixels);
    return {[work, &picture] { std::copy(picture.pixels.begin(), picture.pixels.end(), work->begin()); },
            [work, kernel] { kernel(*work); }};
}

Trial IntoNew(size_t pixels, std::function<void(Pixels&)> kernel)
{
    auto output = std::make_shared<Pixels>(pixels);
    return {{}, [output, kernel] { kernel(*output); }};
}

int ModeOf(ResizeFamily family)
{
    switch (family) {
    case ResizeFamily::Linear: return kResizeBartlett;
    case ResizeFamily::Cubic: return kResizeMitchellNetravali;
    case ResizeFamily::Lanczos: return kResizeLanczos;
    }
    return kResizeBartlett;
}

Trial Resize(const OurPicture& picture, ResizeFamily family, bool doubled)
{
    const auto width = static_cast<uint32_t>(doubled ? picture.width * 2 : picture.width / 2);
    const auto height = static_cast<uint32_t>(doubled ? picture.height * 2 : picture.height / 2);
    ResizeKernel kernel = nullptr;
    int radius = 0;
    KernelOfMode(ModeOf(family), kernel, radius);
    return IntoNew(size_t{width} * height, [&picture, width, height, kernel, radius](Pixels& output) {
        CPlaneResizer resizer;
        const auto sourceWidth = static_cast<uint32_t>(picture.width);
        if (!resizer.Init(sourceWidth, static_cast<uint32_t>(picture.height), width, height, sourceWidth * 4,
                          width * 4, kernel, radius, 32) ||
            !resizer.Run(BytesOf(output), BytesOf(picture.pixels), nullptr)) {
            throw std::runtime_error("resize failed");
        }
    });
}

Trial GaussianBlur(const OurPicture& picture, double sigma)
{
    return IntoNew(picture.pixels.size(), [&picture, sigma](Pixels& output) {
        BlurPicture(RowsOf(picture.pixels.data(), picture.width, picture.height),
                    RowsOf(output.data(), picture.width, picture.height), BuildGaussianKernel(sigma),
                    ChosenBlurPath(), {});
    });
}

Trial UnsharpMask(const OurPicture& picture, double sigma)
{
    return IntoNew(picture.pixels.size(), [&picture, sigma](Pixels& output) {
        BlurPicture(RowsOf(picture.pixels.data(), picture.width, picture.height),
                    RowsOf(output.data(), picture.width, picture.height), BuildGaussianKernel(sigma),
                    ChosenBlurPath(), {}, UnsharpRowMerge(kUnsharpAmount, kUnsharpThreshold, ChosenBlurPath()));
    });
}

Trial ToneTable(const OurPicture& picture)
{
    return InPlace(picture, [&picture](Pixels& work) {
        uint8_t table[256];
        BuildBrightnessContrastTable(kBrightness, kContrast, table);
        MapChannelTables({BytesOf(work), ptrdiff_t{4} * picture.width, picture.width, picture.height},
                         ChannelTables{table, table, table}, {});
    });
}

Trial Geometry(const Operation& operation, const OurPicture& picture)
{
    const int width = picture.width;
    const int height = picture.height;
    const ptrdiff_t stride = ptrdiff_t{4} * width;
    switch (operation.kind) {
    case OperationKind::FlipHorizontal:
        return InPlace(picture, [=](Pixels& work) { FlipHorizontal({BytesOf(work), stride, width, height}, {}); });
    case OperationKind::FlipVertical: {
        auto line = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(stride));
        return InPlace(picture, [=](Pixels& work) {
            FlipVertical(BytesOf(work), stride, static_cast<size_t>(stride), height, line->data());
        });
    }
    case OperationKind::Rotate90:
        return IntoNew(picture.pixels.size(), [&picture, width, height, stride](Pixels& output) {
            const PixelRows source{const_cast<uint8_t*>(BytesOf(picture.pixels)), stride, width, height};
            TurnInBands(ChosenClockWiseTurn(), true, source, {BytesOf(output), ptrdiff_t{4} * height, height, width});
        });
    case OperationKind::Rotate180:
        return IntoNew(picture.pixels.size(), [&picture, width, height, stride](Pixels& output) {
            const PixelRows source{const_cast<uint8_t*>(BytesOf(picture.pixels)), stride, width, height};
            Rotate180(source, {BytesOf(output), stride, width, height}, ChosenRowReverser(),
                      {});
        });
    default:
        return IntoNew(picture.pixels.size(), [&picture](Pixels& output) {
            std::memcpy(output.data(), picture.pixels.data(), picture.pixels.size() * 4);
        });
    }
}

// What the filter's apply does once the host made the output: plan, then resample.
Trial FreeRotate(const OurPicture& picture)
{
    const RotationLayout planned = FreeRotationLayout(picture.width, picture.height);
    const uint32_t background = 0x010101u * kRotationBackground;
    return IntoNew(static_cast<size_t>(planned.width) * planned.height, [&picture, background](Pixels& output) {
        const RotationLayout layout = FreeRotationLayout(picture.width, picture.height);
        if (!RotatePixels(RowsOf(picture.pixels.data(), picture.width, picture.height),
                          RowsOf(output.data(), layout.width, layout.height), layout, background,
                          RotationSampling::Bilinear, {})) {
            throw std::runtime_error("rotation failed");
        }
    });
}

// The filter hands the rectangle to the host, whose crop copies its rows into a new
// image; this is that copy, into a buffer made beforehand like every side's output.
Trial Crop(const OurPicture& picture)
{
    const CropRectangle crop = CropOf(picture.width, picture.height);
    return IntoNew(static_cast<size_t>(crop.width) * crop.height, [&picture, crop](Pixels& output) {
        for (int y = 0; y < crop.height; ++y) {
            std::memcpy(output.data() + static_cast<size_t>(crop.width) * y,
                        picture.pixels.data() + static_cast<size_t>(picture.width) * (crop.top + y) + crop.left,
                        static_cast<size_t>(crop.width) * 4);
        }
    });
}

Trial LensDistort(const OurPicture& picture)
{
    return IntoNew(picture.pixels.size(), [&picture](Pixels& output) {
        const PixelRows source = RowsOf(picture.pixels.data(), picture.width, picture.height);
        if (!DistortLens(source, RowsOf(output.data(), picture.width, picture.height), kLensCoefficient, {})) {
            throw std::runtime_error("lens distortion failed");
        }
    });
}

// The angle is kept, so that the detection's result is used.
Trial Straightening(const OurPicture& picture)
{
    auto angle = std::make_shared<float>();
    return {{}, [&picture, angle] {
                *angle = DetectStraighteningAngle(RowsOf(picture.pixels.data(), picture.width, picture.height), {},
                                                  kStraighteningEdgePadding, kStraighteningThreshold);
            }};
}

} // namespace

Trial PrepareOurs(const Operation& operation, const OurPicture& picture)
{
    switch (operation.kind) {
    case OperationKind::ToneTable: return ToneTable(picture);
    case OperationKind::Invert:
        return InPlace(picture, [&picture](Pixels& work) {
            InvertChannels(RowsOf(work.data(), picture.width, picture.height), {true, true, true});
        });
    case OperationKind::ResizeHalf: return Resize(picture, operation.family, false);
    case OperationKind::ResizeDouble: return Resize(picture, operation.family, true);
    case OperationKind::Median:
        return InPlace(picture, [&picture, radius = operation.radius](Pixels& work) {
            if (!MedianFilter(RowsOf(work.data(), picture.width, picture.height), radius, {})) {
                throw std::runtime_error("median failed");
            }
        });
    case OperationKind::GaussianBlur: return GaussianBlur(picture, operation.sigma);
    case OperationKind::UnsharpMask: return UnsharpMask(picture, operation.sigma);
    case OperationKind::FreeRotate: return FreeRotate(picture);
    case OperationKind::Crop: return Crop(picture);
    case OperationKind::Straightening: return Straightening(picture);
    case OperationKind::LensDistort: return LensDistort(picture);
    default: return Geometry(operation, picture);
    }
}
