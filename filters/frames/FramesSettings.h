#pragma once
// The keys of the frame filter's parameter text: the frame type's name, then the keys
// of each type with the ranges and start values of its panel. Declared once for the
// panels, the factory and the hosts' help. Colours are colour values, 0x00BBGGRR.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kFadeFrameName = u"FadeFrameName";
inline constexpr const char16_t* kSingleFrameName = u"SingleFrameName";
inline constexpr const char16_t* kDoubleFrameName = u"DoubleFrameName";

inline constexpr const char16_t* kSingleFrameThickKey = u"SingleFrameThick";
inline constexpr const char16_t* kSingleFrameIntensityKey = u"SingleFrameIntensity";
inline constexpr const char16_t* kSingleFrameCornerKey = u"SingleFrameCorner";
inline constexpr const char16_t* kSingleFrameColorKey = u"SingleFrameColor";

inline constexpr const char16_t* kOuterFrameThickKey = u"OuterFrameThick";
inline constexpr const char16_t* kInnerFrameThickKey = u"InnerFrameThick";
inline constexpr const char16_t* kDblFrameIntensityKey = u"DblFrameIntensity";
inline constexpr const char16_t* kDblFrameColorKey = u"DblFrameColor";

inline constexpr const char16_t* kFadeFrameThickKey = u"FadeFrameThick";
inline constexpr const char16_t* kFadeFrameIntensKey = u"FadeFrameIntens";
inline constexpr const char16_t* kFadeFrameStepsKey = u"FadeFrameSteps";
inline constexpr const char16_t* kFadeFrameAngleKey = u"FadeFrameAngle";
inline constexpr const char16_t* kFadeFrameInOutKey = u"FadeFrameInOut";
inline constexpr const char16_t* kFadeFrameHorColKey = u"FadeFrameHorCol";
inline constexpr const char16_t* kFadeFrameVerColKey = u"FadeFrameVerCol";

// The dialog's list order, which is also the order the filter makes the types in.
inline constexpr const char16_t* kFrameNames[] = {kFadeFrameName, kSingleFrameName, kDoubleFrameName, nullptr};

inline constexpr double kMostColor = 16777215.0;

inline constexpr SettingDeclaration kFramesSettings[] = {
    {nullptr, u"NameOfTheFrame", SettingType::Page, 0, 0, SettingStart::Fixed, 0, kFadeFrameName, kFrameNames,
     u"the frame type: FadeFrameName, SingleFrameName or DoubleFrameName (any letter case)"},
    {kSingleFrameName, kSingleFrameThickKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 25, nullptr, nullptr,
     u"band thickness, per cent of half the shorter side"},
    {kSingleFrameName, kSingleFrameIntensityKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 40, nullptr,
     nullptr, u"opacity of the frame colour, per cent"},
    {kSingleFrameName, kSingleFrameCornerKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
     u"1: the corner squares get twice the opacity (at most 100 per cent)"},
    {kSingleFrameName, kSingleFrameColorKey, SettingType::Integer, 0, kMostColor, SettingStart::Fixed, 0x7B7B7B,
     nullptr, nullptr, u"frame colour, 0xBBGGRR as a decimal number"},
    {kDoubleFrameName, kOuterFrameThickKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 23, nullptr, nullptr,
     u"total thickness, per cent of half the shorter side"},
    {kDoubleFrameName, kInnerFrameThickKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 18, nullptr, nullptr,
     u"inner band, per cent of the total thickness"},
    {kDoubleFrameName, kDblFrameIntensityKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 55, nullptr,
     nullptr, u"opacity of the outer band, per cent; the inner band has 1.5 times it (at most 100)"},
    {kDoubleFrameName, kDblFrameColorKey, SettingType::Integer, 0, kMostColor, SettingStart::Fixed, 0xFF0000,
     nullptr, nullptr, u"frame colour, 0xBBGGRR as a decimal number"},
    {kFadeFrameName, kFadeFrameThickKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 25, nullptr, nullptr,
     u"thickness, per cent of half the shorter side"},
    {kFadeFrameName, kFadeFrameIntensKey, SettingType::Integer, 0, 100, SettingStart::Fixed, 80, nullptr, nullptr,
     u"largest share of the picture kept in a ramp, per cent"},
    {kFadeFrameName, kFadeFrameStepsKey, SettingType::Integer, 1, 50, SettingStart::Fixed, 1, nullptr, nullptr,
     u"number of ramps across a band"},
    {kFadeFrameName, kFadeFrameAngleKey, SettingType::Integer, 0, 98, SettingStart::Fixed, 45, nullptr, nullptr,
     u"mitre angle in degrees (used within 1 to 89)"},
    {kFadeFrameName, kFadeFrameInOutKey, SettingType::Flag, 0, 1, SettingStart::Fixed, 1, nullptr, nullptr,
     u"1: the colour is strongest at the outer side of each ramp"},
    {kFadeFrameName, kFadeFrameHorColKey, SettingType::Integer, 0, kMostColor, SettingStart::Fixed, 0x78FF8E, nullptr,
     nullptr, u"colour of the top and bottom bands, 0xBBGGRR as a decimal number"},
    {kFadeFrameName, kFadeFrameVerColKey, SettingType::Integer, 0, kMostColor, SettingStart::Fixed, 0x5871FF, nullptr,
     nullptr, u"colour of the left and right bands, 0xBBGGRR as a decimal number"},
};
