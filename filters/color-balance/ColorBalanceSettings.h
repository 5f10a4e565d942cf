#pragma once
// The keys of Color Balance's parameter text, per page of its sheet, with the
// dialog's ranges and start values. Both pages keep their keys side by side;
// "active" names the page the user worked on last, and only "HSL" selects the HSL
// mode: any other text, or none, runs the gains.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kColorBalanceActiveKey = u"active";
inline constexpr const char16_t* kRgbPageName = u"RGB";
inline constexpr const char16_t* kHslPageName = u"HSL";
inline constexpr const char16_t* kRedGainKey = u"red";
inline constexpr const char16_t* kGreenGainKey = u"green";
inline constexpr const char16_t* kBlueGainKey = u"blue";
inline constexpr const char16_t* kHueKey = u"hue";
inline constexpr const char16_t* kSaturationKey = u"saturation";
inline constexpr const char16_t* kLightnessKey = u"lightness";

inline constexpr const char16_t* kColorBalancePages[] = {kRgbPageName, kHslPageName, nullptr};

inline constexpr SettingDeclaration kColorBalanceActiveSetting{
    nullptr, kColorBalanceActiveKey, SettingType::Page, 0.0, 0.0, SettingStart::Fixed, 0.0, kRgbPageName,
    kColorBalancePages, u"the mode: RGB (a gain per channel) or HSL (hue, saturation and lightness)"};
inline constexpr SettingDeclaration kRedGainSetting{
    kRgbPageName, kRedGainKey, SettingType::Integer, 0.0, 200.0, SettingStart::Fixed, 100.0, nullptr, nullptr,
    u"red gain in percent (100 keeps red)"};
inline constexpr SettingDeclaration kGreenGainSetting{
    kRgbPageName, kGreenGainKey, SettingType::Integer, 0.0, 200.0, SettingStart::Fixed, 100.0, nullptr, nullptr,
    u"green gain in percent (100 keeps green)"};
inline constexpr SettingDeclaration kBlueGainSetting{
    kRgbPageName, kBlueGainKey, SettingType::Integer, 0.0, 200.0, SettingStart::Fixed, 100.0, nullptr, nullptr,
    u"blue gain in percent (100 keeps blue)"};
inline constexpr SettingDeclaration kHueSetting{
    kHslPageName, kHueKey, SettingType::Real, -180.0, 180.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"degrees added to every hue (+120 turns red into green, -120 into blue)"};
inline constexpr SettingDeclaration kSaturationSetting{
    kHslPageName, kSaturationKey, SettingType::Real, 0.0, 2.0, SettingStart::Fixed, 1.0, nullptr, nullptr,
    u"saturation factor (0 turns the picture grey)"};
inline constexpr SettingDeclaration kLightnessSetting{
    kHslPageName, kLightnessKey, SettingType::Real, 0.0, 2.0, SettingStart::Fixed, 1.0, nullptr, nullptr,
    u"lightness factor (0 turns the picture black)"};

inline constexpr SettingDeclaration kColorBalanceSettings[] = {kColorBalanceActiveSetting, kRedGainSetting,
                                                               kGreenGainSetting,          kBlueGainSetting,
                                                               kHueSetting,                kSaturationSetting,
                                                               kLightnessSetting};
