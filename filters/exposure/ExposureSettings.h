#pragma once
// The keys of Exposure's parameter text, per page of its sheet, with the dialog's
// ranges and start values. Both pages keep their keys side by side; "Active" names
// the page the user worked on last. The sheet opens on the histogram page with the
// limits at the ends, and a curve page without a curve resets to the diagonal.

#include "plugin/SettingsInterfaces.h"

#include <limits>

inline constexpr const char16_t* kExposureActiveKey = u"Active";
inline constexpr const char16_t* kHistCorrPageName = u"HistCorr";
inline constexpr const char16_t* kGradCurvesPageName = u"GradCurves";
inline constexpr const char16_t* kLeftLimitKey = u"LeftLimit";
inline constexpr const char16_t* kRightLimitKey = u"RightLimit";
inline constexpr const char16_t* kMValueKey = u"MValue";
inline constexpr const char16_t* kBValueKey = u"BValue";
inline constexpr const char16_t* kNumSplinePointsKey = u"NumSplinePoints";
// Formatted with the point's index from 0: X000, Y000, X001, ...
inline constexpr const char16_t* kSplineXKeyPattern = u"X%03d";
inline constexpr const char16_t* kSplineYKeyPattern = u"Y%03d";

inline constexpr const char16_t* kExposurePages[] = {kHistCorrPageName, kGradCurvesPageName, nullptr};
inline constexpr double kLevelsUnbounded = std::numeric_limits<double>::infinity();
// The limits of a drag stay two levels apart, the automatic ones one: the slope
// reaches 255 and the offset -253 x 255.
inline constexpr double kSteepestSlope = 255.0;
inline constexpr double kLowestOffset = -253.0 * 255.0;

inline constexpr SettingDeclaration kExposureActiveSetting{
    nullptr, kExposureActiveKey, SettingType::Page, 0.0, 0.0, SettingStart::Fixed, 0.0, kHistCorrPageName,
    kExposurePages, u"the mode: HistCorr (stretch between two limits) or GradCurves (a curve through points)"};
inline constexpr SettingDeclaration kLeftLimitSetting{
    kHistCorrPageName, kLeftLimitKey, SettingType::Integer, 0.0, 255.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"the level that becomes 0 (kept for the dialog; MValue and BValue shape the result)"};
inline constexpr SettingDeclaration kRightLimitSetting{
    kHistCorrPageName, kRightLimitKey, SettingType::Integer, 0.0, 255.0, SettingStart::Fixed, 255.0, nullptr,
    nullptr, u"the level that becomes 255 (kept for the dialog; MValue and BValue shape the result)"};
inline constexpr SettingDeclaration kMValueSetting{
    kHistCorrPageName, kMValueKey, SettingType::Real, 1.0, kSteepestSlope, SettingStart::Fixed, 1.0, nullptr,
    nullptr, u"slope of the levels: 255 / (RightLimit - LeftLimit)"};
inline constexpr SettingDeclaration kBValueSetting{
    kHistCorrPageName, kBValueKey, SettingType::Real, kLowestOffset, 0.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"offset of the levels: -LeftLimit x MValue"};
inline constexpr SettingDeclaration kNumSplinePointsSetting{
    kGradCurvesPageName, kNumSplinePointsKey, SettingType::Integer, 2.0, kLevelsUnbounded, SettingStart::Fixed, 2.0,
    nullptr, nullptr, u"number n of the curve's points; the first n of X000, Y000, X001, ... are read"};
inline constexpr SettingDeclaration kFirstXSetting{
    kGradCurvesPageName, u"X000", SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"level of the first point"};
inline constexpr SettingDeclaration kFirstYSetting{
    kGradCurvesPageName, u"Y000", SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"what the first point's level becomes"};
inline constexpr SettingDeclaration kSecondXSetting{
    kGradCurvesPageName, u"X001", SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 255.0, nullptr, nullptr,
    u"level of the second point, above the first"};
inline constexpr SettingDeclaration kSecondYSetting{
    kGradCurvesPageName, u"Y001", SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 255.0, nullptr, nullptr,
    u"what the second point's level becomes"};
// Numbered keys: the declaration stands for every key its pattern formats.
inline constexpr SettingDeclaration kFurtherXSetting{
    kGradCurvesPageName, kSplineXKeyPattern, SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 0.0, nullptr,
    nullptr, u"level of point k (X002, X003, ...), each above the one before"};
inline constexpr SettingDeclaration kFurtherYSetting{
    kGradCurvesPageName, kSplineYKeyPattern, SettingType::Real, 0.0, 255.0, SettingStart::Fixed, 0.0, nullptr,
    nullptr, u"what point k's level becomes (Y002, Y003, ...)"};

inline constexpr SettingDeclaration kExposureSettings[] = {
    kExposureActiveSetting, kLeftLimitSetting,      kRightLimitSetting, kMValueSetting,
    kBValueSetting,         kNumSplinePointsSetting, kFirstXSetting,     kFirstYSetting,
    kSecondXSetting,        kSecondYSetting,         kFurtherXSetting,   kFurtherYSetting};
