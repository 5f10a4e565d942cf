#pragma once
// The key of the hot pixel fixer's parameter text, the dialog's range and start
// value: declared once for the dialog, the factory and the hosts' help.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kHotPixelIntensityKey = u"HotPixelFixerIntensity";
inline constexpr int kLeastHotPixelIntensity = 10;
inline constexpr int kMostHotPixelIntensity = 200;
inline constexpr int kStartHotPixelIntensity = 60;

inline constexpr SettingDeclaration kHotPixelIntensitySetting{
    nullptr, kHotPixelIntensityKey, SettingType::Integer, kLeastHotPixelIntensity, kMostHotPixelIntensity,
    SettingStart::Fixed, kStartHotPixelIntensity, nullptr, nullptr,
    u"how much brighter (in mean level, 0 to 255) a lone pixel must be than the second-brightest pixel two "
    u"steps around it to be repaired"};

inline constexpr SettingDeclaration kHotPixelFixSettings[] = {kHotPixelIntensitySetting};
