#pragma once
// The keys of Brightness and Contrast's parameter text, the dialog's ranges and start
// values: declared once for the dialog, the factory and the hosts' help.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kBrightnessKey = u"BrightnessValue";
inline constexpr const char16_t* kContrastKey = u"ContrastValue";

inline constexpr SettingDeclaration kBrightnessSetting{
    nullptr, kBrightnessKey, SettingType::Real, -100.0, 100.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"levels added to red, green and blue"};
inline constexpr SettingDeclaration kContrastSetting{
    nullptr, kContrastKey, SettingType::Real, 0.0, 2.0, SettingStart::Fixed, 1.0, nullptr, nullptr,
    u"slope of the levels about level 128 (1 keeps them)"};

inline constexpr SettingDeclaration kBrightnessContrastSettings[] = {kBrightnessSetting, kContrastSetting};
