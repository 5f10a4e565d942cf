#pragma once
// The key of the median's parameter text, the dialog's range and start value:
// declared once for the dialog, the factory and the hosts' help.

#include "filters/median/MedianKernel.h"
#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kMedianSizeKey = u"MedianSize";

inline constexpr SettingDeclaration kMedianSizeSetting{
    nullptr, kMedianSizeKey, SettingType::Integer, kMinimumMedianRadius, kMaximumMedianRadius, SettingStart::Fixed,
    kMinimumMedianRadius, nullptr, nullptr, u"radius of the square neighbourhood, in pixels"};

inline constexpr SettingDeclaration kMedianSettings[] = {kMedianSizeSetting};
