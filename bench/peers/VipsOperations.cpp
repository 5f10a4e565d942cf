// libvips's side: each run builds the operation's pipeline on the wrapped input and
// computes it into a preallocated, already touched buffer, so the whole demand-driven
// evaluation is inside the timing. The operation cache is off, so no run reuses
// another's result.

#include "Operations.h"
#include "Settings.h"

#include "filters/brightness-contrast/BrightnessContrastKernel.h"

#include <vips/vips.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

using Build = std::function<int(VipsImage* in, VipsImage** out)>;

void Fail()
{
    const std::string message = vips_error_buffer();
    vips_error_clear();
    throw std::runtime_error("libvips: " + message);
}

void ComputeInto(VipsImage* pipeline, std::vector<uint8_t>& buffer)
{
    if (VIPS_IMAGE_SIZEOF_IMAGE(pipeline) != buffer.size()) {
        g_object_unref(pipeline);
        throw std::runtime_error("libvips output of unexpected size");
    }
    VipsImage* target = vips_image_new_from_memory(buffer.data(), buffer.size(), pipeline->Xsize, pipeline->Ysize,
                                                   pipeline->Bands, pipeline->BandFmt);
    const int failed = target == nullptr || vips_image_write(pipeline, target);
    if (target != nullptr) g_object_unref(target);
    g_object_unref(pipeline);
    if (failed) Fail();
}

Trial Into(VipsImage* rgb, int width, int height, Build build)
{
    auto buffer = std::make_shared<std::vector<uint8_t>>(size_t{3} * width * height);
    return {{}, [rgb, buffer, build] {
                VipsImage* pipeline = nullptr;
                if (build(rgb, &pipeline)) Fail();
                ComputeInto(pipeline, *buffer);
            }};
}

VipsKernel KernelOf(ResizeFamily family)
{
    switch (family) {
    case ResizeFamily::Linear: return VIPS_KERNEL_LINEAR;
    case ResizeFamily::Cubic: return VIPS_KERNEL_CUBIC;
    case ResizeFamily::Lanczos: return VIPS_KERNEL_LANCZOS3;
    }
    return VIPS_KERNEL_LINEAR;
}

Trial Resize(VipsImage* rgb, ResizeFamily family, bool doubled)
{
    const double scale = doubled ? 2.0 : 0.5;
    const int width = doubled ? rgb->Xsize * 2 : rgb->Xsize / 2;
    const int height = doubled ? rgb->Ysize * 2 : rgb->Ysize / 2;
    return Into(rgb, width, height, [scale, kernel = KernelOf(family)](VipsImage* in, VipsImage** out) {
        return vips_resize(in, out, scale, "kernel", kernel, nullptr);
    });
}

Trial ToneTable(VipsImage* rgb)
{
    return Into(rgb, rgb->Xsize, rgb->Ysize, [](VipsImage* in, VipsImage** out) {
        uint8_t table[256];
        BuildBrightnessContrastTable(kBrightness, kContrast, table);
        VipsImage* lut = vips_image_new_from_memory(table, sizeof table, 256, 1, 1, VIPS_FORMAT_UCHAR);
        if (lut == nullptr) return -1;
        const int result = vips_maplut(in, out, lut, nullptr);
        g_object_unref(lut);
        return result;
    });
}

// Lightness only, in LabS: libvips's own notion of sharpening. Both slopes at the
// amount and no flat zone make it the plain unsharp mask on L.
Trial UnsharpMask(VipsImage* rgb, double sigma)
{
    return Into(rgb, rgb->Xsize, rgb->Ysize, [sigma](VipsImage* in, VipsImage** out) {
        return vips_sharpen(in, out, "sigma", sigma, "x1", 0.0, "m1", kUnsharpAmount, "m2", kUnsharpAmount, "y2",
                            100.0, "y3", 100.0, nullptr);
    });
}

// vips_affine maps input to output, so it gets the inverse of the layout's turn; the
// output area and offset make its output exactly our layout's box.
Trial FreeRotate(VipsImage* rgb)
{
    const RotationLayout layout = FreeRotationLayout(rgb->Xsize, rgb->Ysize);
    const double k = layout.scale;
    return Into(rgb, layout.width, layout.height, [layout, k](VipsImage* in, VipsImage** out) {
        VipsArrayInt* area = vips_array_int_newv(4, 0, 0, layout.width, layout.height);
        const double fill = kRotationBackground;
        VipsArrayDouble* background = vips_array_double_newv(3, fill, fill, fill);
        const int result = vips_affine(in, out, layout.cosine / k, -layout.sine / k, layout.sine / k,
                                       layout.cosine / k, "interpolate", vips_interpolate_bilinear_static(), "oarea",
                                       area, "odx", -layout.originX, "ody", -layout.originY, "extend",
                                       VIPS_EXTEND_BACKGROUND, "background", background, nullptr);
        vips_area_unref(VIPS_AREA(background));
        vips_area_unref(VIPS_AREA(area));
        return result;
    });
}

// mapim with a two-band float index image of the source points, made before the
// timing and kept for every run.
Trial LensDistort(VipsImage* rgb)
{
    const int width = rgb->Xsize;
    const int height = rgb->Ysize;
    auto points = std::make_shared<std::vector<float>>(size_t{2} * width * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const LensPoint point = LensSourcePoint(width, height, x, y);
            float* place = points->data() + (size_t{2} * width * y + size_t{2} * x);
            place[0] = static_cast<float>(point.x);
            place[1] = static_cast<float>(point.y);
        }
    }
    std::shared_ptr<VipsImage> index(
        vips_image_new_from_memory(points->data(), points->size() * sizeof(float), width, height, 2,
                                   VIPS_FORMAT_FLOAT),
        [points](VipsImage* image) {
            if (image != nullptr) g_object_unref(image);
        });
    if (!index) Fail();
    return Into(rgb, width, height, [index](VipsImage* in, VipsImage** out) {
        return vips_mapim(in, out, index.get(), "interpolate", vips_interpolate_bilinear_static(), nullptr);
    });
}

Trial Crop(VipsImage* rgb)
{
    const CropRectangle crop = CropOf(rgb->Xsize, rgb->Ysize);
    return Into(rgb, crop.width, crop.height, [crop](VipsImage* in, VipsImage** out) {
        return vips_extract_area(in, out, crop.left, crop.top, crop.width, crop.height, nullptr);
    });
}

} // namespace

Trial PrepareVips(const Operation& operation, VipsImage* rgb)
{
    const int width = rgb->Xsize;
    const int height = rgb->Ysize;
    switch (operation.kind) {
    case OperationKind::Copy:
        return Into(rgb, width, height, [](VipsImage* in, VipsImage** out) { return vips_copy(in, out, nullptr); });
    case OperationKind::FlipHorizontal:
        return Into(rgb, width, height, [](VipsImage* in, VipsImage** out) {
            return vips_flip(in, out, VIPS_DIRECTION_HORIZONTAL, nullptr);
        });
    case OperationKind::FlipVertical:
        return Into(rgb, width, height, [](VipsImage* in, VipsImage** out) {
            return vips_flip(in, out, VIPS_DIRECTION_VERTICAL, nullptr);
        });
    case OperationKind::Rotate90:
        return Into(rgb, height, width,
                    [](VipsImage* in, VipsImage** out) { return vips_rot(in, out, VIPS_ANGLE_D90, nullptr); });
    case OperationKind::Rotate180:
        return Into(rgb, width, height,
                    [](VipsImage* in, VipsImage** out) { return vips_rot(in, out, VIPS_ANGLE_D180, nullptr); });
    case OperationKind::ToneTable: return ToneTable(rgb);
    case OperationKind::Invert:
        return Into(rgb, width, height, [](VipsImage* in, VipsImage** out) { return vips_invert(in, out, nullptr); });
    case OperationKind::ResizeHalf: return Resize(rgb, operation.family, false);
    case OperationKind::ResizeDouble: return Resize(rgb, operation.family, true);
    case OperationKind::Median:
        return Into(rgb, width, height, [size = 2 * operation.radius + 1](VipsImage* in, VipsImage** out) {
            return vips_median(in, out, size, nullptr);
        });
    case OperationKind::GaussianBlur:
        return Into(rgb, width, height, [sigma = operation.sigma](VipsImage* in, VipsImage** out) {
            return vips_gaussblur(in, out, sigma, nullptr);
        });
    case OperationKind::UnsharpMask: return UnsharpMask(rgb, operation.sigma);
    case OperationKind::FreeRotate: return FreeRotate(rgb);
    case OperationKind::Crop: return Crop(rgb);
    case OperationKind::LensDistort: return LensDistort(rgb);
    case OperationKind::Straightening: throw std::logic_error("libvips has no straightening detection");
    }
    return {};
}
