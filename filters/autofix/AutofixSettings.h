#pragma once
// The keys of Autofix's parameter text: one switch per fix, declared once for the
// dialog, the factory and the hosts' help. The starts are the dialog's; the apply
// itself reads a missing key as 0, so a text names every fix it wants run.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kAutofixColorKey = u"AutofixColor";
inline constexpr const char16_t* kAutofixExposureKey = u"AutofixExposure";
inline constexpr const char16_t* kAutofixNoiseKey = u"AutofixNoise";
inline constexpr const char16_t* kAutofixRotateKey = u"AutofixRotate";

inline constexpr SettingDeclaration kAutofixColorSetting{
    nullptr, kAutofixColorKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
    u"1 removes a colour cast (per-channel gains that make the most neutral fifth of the pixels grey), 0 skips it"};
inline constexpr SettingDeclaration kAutofixExposureSetting{
    nullptr, kAutofixExposureKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
    u"1 stretches the levels between the ends of the luminance histogram (a hundredth of its third-highest count) to 0..255, 0 skips it"};
inline constexpr SettingDeclaration kAutofixNoiseSetting{
    nullptr, kAutofixNoiseKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 0, nullptr, nullptr,
    u"1 estimates the noise and smooths it away (window 7 x 7), 0 skips it"};
inline constexpr SettingDeclaration kAutofixRotateSetting{
    nullptr, kAutofixRotateKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 0, nullptr, nullptr,
    u"1 levels the detected tilt, cropping and scaling back to the picture's size, 0 skips it"};

// In the dialog's order, top to bottom.
inline constexpr SettingDeclaration kAutofixSettings[] = {kAutofixColorSetting, kAutofixExposureSetting,
                                                          kAutofixNoiseSetting, kAutofixRotateSetting};
