#pragma once
// The keys of Sharpen's parameter text, per page of its sheet, with the dialog's
// ranges and start values: declared once for the pages, the factory and the hosts'
// help. The sheet opens on the Unsharp Mask page.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kSharpenActivePageKey = u"SharpenActivePage";
inline constexpr const char16_t* kUnsharpMaskPageName = u"UnsharpMask";
inline constexpr const char16_t* kGaussianBlurPageName = u"GaussianBlur";
inline constexpr const char16_t* kGaussianBlurSizeKey = u"GaussianBlurSize";
inline constexpr const char16_t* kUnsharpMaskSizeKey = u"UnsharpMaskSize";
inline constexpr const char16_t* kUnsharpMaskAmountKey = u"UnsharpMaskAmount";
inline constexpr const char16_t* kUnsharpMaskThresholdKey = u"UnsharpMaskThreshold";

inline constexpr const char16_t* kSharpenPages[] = {kUnsharpMaskPageName, kGaussianBlurPageName, nullptr};
inline constexpr double kSmallestSigma = 0.01;
inline constexpr double kLargestSigma = 10.0;

inline constexpr SettingDeclaration kSharpenActivePageSetting{
    nullptr, kSharpenActivePageKey, SettingType::Page, 0.0, 0.0, SettingStart::Fixed, 0.0, kUnsharpMaskPageName,
    kSharpenPages, u"the operation: UnsharpMask or GaussianBlur"};
inline constexpr SettingDeclaration kUnsharpMaskSizeSetting{
    kUnsharpMaskPageName, kUnsharpMaskSizeKey, SettingType::Real, kSmallestSigma, kLargestSigma, SettingStart::Fixed,
    2.5, nullptr, nullptr, u"sigma of the blur the mask is made from, in pixels"};
inline constexpr SettingDeclaration kUnsharpMaskAmountSetting{
    kUnsharpMaskPageName, kUnsharpMaskAmountKey, SettingType::Real, 0.0, 1.0, SettingStart::Fixed, 0.5, nullptr,
    nullptr, u"share of the difference from the blur that is added back"};
inline constexpr SettingDeclaration kUnsharpMaskThresholdSetting{
    kUnsharpMaskPageName, kUnsharpMaskThresholdKey, SettingType::Integer, 0.0, 100.0, SettingStart::Fixed, 8.0,
    nullptr, nullptr, u"differences up to half this many levels are left unsharpened"};
inline constexpr SettingDeclaration kGaussianBlurSizeSetting{
    kGaussianBlurPageName, kGaussianBlurSizeKey, SettingType::Real, kSmallestSigma, kLargestSigma,
    SettingStart::Fixed, 2.0, nullptr, nullptr, u"sigma of the blur, in pixels"};

inline constexpr SettingDeclaration kSharpenSettings[] = {kSharpenActivePageSetting, kUnsharpMaskSizeSetting,
                                                          kUnsharpMaskAmountSetting, kUnsharpMaskThresholdSetting,
                                                          kGaussianBlurSizeSetting};
