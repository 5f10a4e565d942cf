#pragma once
// The key of Lens Distort's parameter text, the dialog's range and start value:
// declared once for the dialog, the factory and the hosts' help.

#include "plugin/SettingsInterfaces.h"

inline constexpr const char16_t* kDistortKey = u"DistortValue";
inline constexpr double kMostPincushion = -0.1;
inline constexpr double kMostBarrel = 0.1;

inline constexpr SettingDeclaration kDistortSetting{
    nullptr, kDistortKey, SettingType::Real, kMostPincushion, kMostBarrel, SettingStart::Fixed, 0.0, nullptr, nullptr,
    u"cubic coefficient of the radius: negative pulls the corners in (pincushion), positive pushes them out "
    u"(barrel), 0 keeps the picture"};

inline constexpr SettingDeclaration kLensDistortSettings[] = {kDistortSetting};
