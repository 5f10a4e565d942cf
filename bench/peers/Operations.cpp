#include "Operations.h"

const std::vector<Operation>& AllOperations()
{
    static const std::vector<Operation> operations = [] {
        std::vector<Operation> list = {
            {"copy (yardstick)", OperationKind::Copy},
            {"flip horizontal", OperationKind::FlipHorizontal},
            {"flip vertical", OperationKind::FlipVertical},
            {"rotate 90", OperationKind::Rotate90},
            {"rotate 180", OperationKind::Rotate180},
            {"brightness/contrast table", OperationKind::ToneTable},
            {"invert", OperationKind::Invert},
        };
        const std::pair<const char*, ResizeFamily> families[] = {
            {"bilinear", ResizeFamily::Linear}, {"bicubic", ResizeFamily::Cubic}, {"Lanczos", ResizeFamily::Lanczos}};
        for (const OperationKind kind : {OperationKind::ResizeHalf, OperationKind::ResizeDouble}) {
            for (const auto& [name, family] : families) {
                const char* direction = kind == OperationKind::ResizeHalf ? "resize 1/2 " : "resize x2 ";
                list.push_back({direction + std::string(name), kind, 0, 0.0, family});
            }
        }
        for (int radius = 1; radius <= 4; ++radius) {
            list.push_back({"median radius " + std::to_string(radius), OperationKind::Median, radius});
        }
        const std::pair<const char*, double> sigmas[] = {{"1", 1.0}, {"2.5", 2.5}, {"10", 10.0}};
        for (const auto& [label, sigma] : sigmas) {
            list.push_back({"Gaussian blur sigma " + std::string(label), OperationKind::GaussianBlur, 0, sigma});
        }
        for (const auto& [label, sigma] : sigmas) {
            list.push_back({"unsharp mask sigma " + std::string(label), OperationKind::UnsharpMask, 0, sigma});
        }
        list.push_back({"rotate 10 degrees bilinear", OperationKind::FreeRotate});
        list.push_back({"crop to the middle 3/4 x 2/3", OperationKind::Crop});
        list.push_back({"lens distortion (barrel 0.05) bilinear", OperationKind::LensDistort});
        list.push_back({"straightening detection", OperationKind::Straightening, 0, 0.0, ResizeFamily::Linear, true});
        return list;
    }();
    return operations;
}

const char* SideName(Side side)
{
    switch (side) {
    case Side::Ours: return "ours";
    case Side::OpenCv: return "opencv";
    case Side::Vips: return "vips";
    }
    return "?";
}
