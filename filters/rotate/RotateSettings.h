#pragma once
// The keys of the free rotation's parameter text and the dialog's ranges and start
// values: declared once for the dialog, the factory and the hosts' help.

#include "filters/rotate/RotationLayout.h"
#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kRotateAngleKey = u"angle";
inline constexpr const char16_t* kRotateBackgroundKey = u"colorBkgnd";
inline constexpr const char16_t* kRotateCropTypeKey = u"croptype";

// The dialog's spin control offers this range; the filter takes any angle.
inline constexpr SettingDeclaration kRotateAngleSetting{
    nullptr, kRotateAngleKey, SettingType::Real, -360, 720, SettingStart::Fixed, 0, nullptr, nullptr,
    u"angle in degrees, counter-clockwise on screen (90 turns left, 270 right); within 0.01 of a right angle "
    u"the exact quarter turns run"};
inline constexpr SettingDeclaration kRotateBackgroundSetting{
    nullptr, kRotateBackgroundKey, SettingType::Integer, 0, 0xFFFFFF, SettingStart::Fixed, 0, nullptr, nullptr,
    u"colour of the uncovered corners as 0xBBGGRR in decimal (255 is red, 16711680 blue)"};
inline constexpr SettingDeclaration kRotateCropTypeSetting{
    nullptr, kRotateCropTypeKey, SettingType::Integer, kRotationKeepWhole, kRotationCropKeepSize,
    SettingStart::Fixed, kRotationKeepWhole, nullptr, nullptr,
    u"0 keeps the whole rotated picture, 1 crops to the picture, 2 crops and scales back to the source's size"};

inline constexpr SettingDeclaration kRotateSettings[] = {kRotateAngleSetting, kRotateBackgroundSetting,
                                                         kRotateCropTypeSetting};

inline constexpr PreviewShapeUse kRotatePreviewShape{
    PreviewShape::Line, false,
    u"a line along a horizon or a wall: its tilt is added to the angle, so that it comes out level or upright"};
