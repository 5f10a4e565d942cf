#pragma once
// The keys of the invert's parameter text and the dialog's start values: declared
// once for the dialog, the factory and the hosts' help. A key the text lacks leaves
// its channel as it is.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kInvertRedKey = u"Channel_Red";
inline constexpr const char16_t* kInvertGreenKey = u"Channel_Green";
inline constexpr const char16_t* kInvertBlueKey = u"Channel_Blue";

inline constexpr SettingDeclaration kInvertRedSetting{
    nullptr, kInvertRedKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
    u"1 inverts the red channel (level v becomes 255 - v), 0 keeps it"};
inline constexpr SettingDeclaration kInvertGreenSetting{
    nullptr, kInvertGreenKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
    u"1 inverts the green channel, 0 keeps it"};
inline constexpr SettingDeclaration kInvertBlueSetting{
    nullptr, kInvertBlueKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
    u"1 inverts the blue channel, 0 keeps it"};

inline constexpr SettingDeclaration kInvertSettings[] = {kInvertRedSetting, kInvertGreenSetting, kInvertBlueSetting};
