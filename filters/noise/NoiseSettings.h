#pragma once
// The keys of the Noise filter's parameter text, per page of its sheet, with the
// dialog's ranges and start values: declared once for the pages, the filter, the
// factory and the hosts' help. The sheet opens on the Remove Noise page.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kNoiseActivePageKey = u"NoiseActivePage";
inline constexpr const char16_t* kRemoveNoisePageName = u"RemoveNoisePage";
inline constexpr const char16_t* kAddNoisePageName = u"AddNoisePage";
inline constexpr const char16_t* kNoiseRedLevelKey = u"NoiseValueVar1";
inline constexpr const char16_t* kNoiseGreenLevelKey = u"NoiseValueVar2";
inline constexpr const char16_t* kNoiseBlueLevelKey = u"NoiseValueVar3";
inline constexpr const char16_t* kNoiseFilterSizeKey = u"NoiseFilterSize";
inline constexpr const char16_t* kAddNoiseAmountKey = u"AddNoiseAmount";

// Red, green, blue: the order of the level keys, the trackbars and the engine's levels.
inline constexpr const char16_t* kNoiseLevelKeys[] = {kNoiseRedLevelKey, kNoiseGreenLevelKey, kNoiseBlueLevelKey};
inline constexpr const char16_t* kNoisePages[] = {kRemoveNoisePageName, kAddNoisePageName, nullptr};

// A level of 0 (all three at 0 or below) asks the filter to measure the noise.
inline constexpr int kEstimatedLevel = 0;
inline constexpr int kLargestNoiseLevel = 200;
inline constexpr int kSmallestFilterSize = 1;
inline constexpr int kLargestFilterSize = 9;
inline constexpr int kStartFilterSize = 3;

inline constexpr SettingDeclaration kNoiseActivePageSetting{
    nullptr, kNoiseActivePageKey, SettingType::Page, 0.0, 0.0, SettingStart::Fixed, 0.0, kRemoveNoisePageName,
    kNoisePages, u"the operation: RemoveNoisePage or AddNoisePage"};
inline constexpr SettingDeclaration kNoiseRedLevelSetting{
    kRemoveNoisePageName, kNoiseRedLevelKey, SettingType::Integer, kEstimatedLevel, kLargestNoiseLevel,
    SettingStart::Fixed, kEstimatedLevel, nullptr, nullptr,
    u"noise level of red; all three levels 0: measured in the photo (or in the selection)"};
inline constexpr SettingDeclaration kNoiseGreenLevelSetting{
    kRemoveNoisePageName, kNoiseGreenLevelKey, SettingType::Integer, kEstimatedLevel, kLargestNoiseLevel,
    SettingStart::Fixed, kEstimatedLevel, nullptr, nullptr, u"noise level of green"};
inline constexpr SettingDeclaration kNoiseBlueLevelSetting{
    kRemoveNoisePageName, kNoiseBlueLevelKey, SettingType::Integer, kEstimatedLevel, kLargestNoiseLevel,
    SettingStart::Fixed, kEstimatedLevel, nullptr, nullptr, u"noise level of blue"};
inline constexpr SettingDeclaration kNoiseFilterSizeSetting{
    kRemoveNoisePageName, kNoiseFilterSizeKey, SettingType::Integer, kSmallestFilterSize, kLargestFilterSize,
    SettingStart::Fixed, kStartFilterSize, nullptr, nullptr,
    u"smoothness: the radius of the reduction's window, in pixels"};
inline constexpr SettingDeclaration kAddNoiseAmountSetting{
    kAddNoisePageName, kAddNoiseAmountKey, SettingType::Real, 0.0, 1.0, SettingStart::Fixed, 0.2, nullptr, nullptr,
    u"amount of random noise; 1 moves each channel by up to 127 levels either way"};

inline constexpr SettingDeclaration kNoiseSettings[] = {kNoiseActivePageSetting, kNoiseRedLevelSetting,
                                                        kNoiseGreenLevelSetting, kNoiseBlueLevelSetting,
                                                        kNoiseFilterSizeSetting, kAddNoiseAmountSetting};
