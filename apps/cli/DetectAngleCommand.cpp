// detect-angle: the turn that straightens a photo, as the rotation dialog's
// "Autorotate Image" finds it, without writing anything.

#include "apps/cli/Commands.h"
#include "apps/cli/PhotoReading.h"

#include "platform/ComPtr.h"
#include "plugin/StraighteningInterfaces.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The first filter of the module that can straighten the photo.
CComPtr<IAutomaticAngle> FindStraightener(const CFilterCatalog& catalog, IImage* photo)
{
    for (const FilterEntry& entry : catalog.Entries()) {
        if (entry.kind != FilterKind::Interactive) continue;
        CComPtr<IFilter> filter;
        if (!entry.factory->CreateFilter(photo, filter.Receive(), nullptr) || !filter) continue;
        if (auto straightener = CComPtr<IAutomaticAngle>::Query(filter.Get(), IID_IAutomaticAngle)) return straightener;
    }
    return {};
}

// The rotation's own angle: counter-clockwise degrees within one turn.
double RotationAngle(double radians)
{
    double angle = radians * kDegreesPerRadian;
    while (angle < 0) angle += 360;
    while (angle > 360) angle -= 360;
    return angle;
}

void PrintFound(const std::string& photo, double radians, bool json)
{
    const double turn = radians * kDegreesPerRadian;
    const double angle = RotationAngle(radians);
    if (json) {
        std::printf("{\"found\": true, \"angle\": %.6f, \"turn\": %.6f}\n", angle, turn);
        return;
    }
    std::printf("%.6f\n", angle);
    std::fprintf(stderr, "basicfilters: turning %s %.2f degrees %s straightens it: basicfilters apply Rotate %s OUT "
                         "--set angle=%.6f\n",
                 photo.c_str(), std::abs(turn), turn > 0 ? "counter-clockwise" : "clockwise", photo.c_str(), angle);
}

} // namespace

int RunDetectAngle(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 1) {
        std::fprintf(stderr, "basicfilters: usage: basicfilters detect-angle PHOTO [--json]\n");
        return kExitUsage;
    }
    const std::string& path = options.operands[0];
    QImage picture;
    const CComPtr<CHostImage> photo = ReadPhoto(path, picture);
    if (!photo) return kExitFile;
    const CComPtr<IAutomaticAngle> straightener = FindStraightener(catalog, static_cast<IImage*>(photo.Get()));
    if (!straightener) {
        std::fprintf(stderr, "basicfilters: this module has no filter that detects a tilt\n");
        return kExitFilterFailed;
    }
    double radians = 0.0;
    if (straightener->GetAutomaticAngle(&radians)) {
        PrintFound(path, radians, options.json);
    } else if (options.json) {
        std::printf("{\"found\": false, \"angle\": null, \"turn\": null}\n");
    } else {
        std::printf("no tilt found\n");
    }
    return kExitOk;
}
