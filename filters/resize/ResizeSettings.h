#pragma once
// The keys of Resize's parameter text, the dialog's ranges and start values: declared
// once for the dialog, the factory and the hosts' help. The apply reads the first
// five; the dialog also keeps the sizes as typed, their units and the constrain
// switch. Sizes and resolutions start from the photo.

#include "filters/resize/ResizeDialogUnits.h"
#include "filters/resize/ResizeKernelFunctions.h"
#include "plugin/SettingsInterfaces.h"

#include <limits>

inline constexpr const char16_t* kResizerModeKey = u"ResizerMode";
inline constexpr const char16_t* kResizerWidthKey = u"ResizerWidth";
inline constexpr const char16_t* kResizerHeightKey = u"ResizerHeight";
inline constexpr const char16_t* kResizerResolutionXKey = u"ResizerResolutionX";
inline constexpr const char16_t* kResizerResolutionYKey = u"ResizerResolutionY";
inline constexpr const char16_t* kResizerWidthInUnitKey = u"ResizerWidthInUnit";
inline constexpr const char16_t* kResizerHeightInUnitKey = u"ResizerHeightInUnit";
inline constexpr const char16_t* kResizerHorUnitKey = u"ResizerHorUnit";
inline constexpr const char16_t* kResizerVerUnitKey = u"ResizerVerUnit";
inline constexpr const char16_t* kResizerConstrainKey = u"ResizerConstrainProportions";

namespace resize_settings {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

constexpr SettingDeclaration FromPhoto(const char16_t* key, SettingType type, double minimum, double maximum,
                                       const char16_t* description)
{
    return {nullptr, key, type, minimum, maximum, SettingStart::FromPhoto, 0.0, nullptr, nullptr, description};
}

constexpr SettingDeclaration Fixed(const char16_t* key, SettingType type, double minimum, double maximum,
                                   double start, const char16_t* description)
{
    return {nullptr, key, type, minimum, maximum, SettingStart::Fixed, start, nullptr, nullptr, description};
}

} // namespace resize_settings

inline constexpr SettingDeclaration kResizerModeSetting = resize_settings::Fixed(
    kResizerModeKey, SettingType::Integer, kResizeResolutionOnly, kResizeLanczos, kResizeMitchellNetravali,
    u"0 resolution only, 1 nearest neighbour, 2 bilinear, 3 bilinear (Bartlett), 4 bicubic (Mitchell-Netravali), "
    u"5 Lanczos");
// A resolution of 1 dot per inch or less, or a size outside these, is refused by the dialog.
inline constexpr SettingDeclaration kResizerWidthSetting = resize_settings::FromPhoto(
    kResizerWidthKey, SettingType::Integer, 10, 32000, u"new width in pixels");
inline constexpr SettingDeclaration kResizerHeightSetting = resize_settings::FromPhoto(
    kResizerHeightKey, SettingType::Integer, 10, 32000, u"new height in pixels");
inline constexpr SettingDeclaration kResizerResolutionXSetting = resize_settings::FromPhoto(
    kResizerResolutionXKey, SettingType::Integer, 2, resize_settings::kUnbounded,
    u"new horizontal resolution, dots per inch");
inline constexpr SettingDeclaration kResizerResolutionYSetting = resize_settings::FromPhoto(
    kResizerResolutionYKey, SettingType::Integer, 2, resize_settings::kUnbounded,
    u"new vertical resolution, dots per inch");
inline constexpr SettingDeclaration kResizerWidthInUnitSetting = resize_settings::FromPhoto(
    kResizerWidthInUnitKey, SettingType::Real, 0, resize_settings::kUnbounded,
    u"the width as typed in the dialog, in its unit (kept by the dialog only)");
inline constexpr SettingDeclaration kResizerHeightInUnitSetting = resize_settings::FromPhoto(
    kResizerHeightInUnitKey, SettingType::Real, 0, resize_settings::kUnbounded,
    u"the height as typed in the dialog, in its unit (kept by the dialog only)");
inline constexpr SettingDeclaration kResizerHorUnitSetting = resize_settings::Fixed(
    kResizerHorUnitKey, SettingType::Integer, kUnitPixel, kUnitPercent, kUnitPixel,
    u"unit of the typed width: 0 pixel, 1 inch, 2 cm, 3 percent (kept by the dialog only)");
inline constexpr SettingDeclaration kResizerVerUnitSetting = resize_settings::Fixed(
    kResizerVerUnitKey, SettingType::Integer, kUnitPixel, kUnitPercent, kUnitPixel,
    u"unit of the typed height, as the width's (kept by the dialog only)");
inline constexpr SettingDeclaration kResizerConstrainSetting = resize_settings::Fixed(
    kResizerConstrainKey, SettingType::Flag, 0, 1, 1, u"1 keeps the proportions in the dialog (kept by the dialog only)");

inline constexpr SettingDeclaration kResizeSettings[] = {
    kResizerModeSetting,        kResizerWidthSetting,        kResizerHeightSetting,   kResizerResolutionXSetting,
    kResizerResolutionYSetting, kResizerWidthInUnitSetting,  kResizerHeightInUnitSetting, kResizerHorUnitSetting,
    kResizerVerUnitSetting,     kResizerConstrainSetting};
