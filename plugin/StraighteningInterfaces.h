#pragma once
// The module's own addition to the filter interfaces: a filter that can straighten
// its source picture answers IAutomaticAngle with the turn it would apply, so that a
// host can show it or offer it without opening the filter's dialog.

#include "platform/Unknown.h"

inline constexpr GUID IID_IAutomaticAngle{0x5E0A7C2B, 0x91D4, 0x4B6F, {0x8C, 0x3E, 0x27, 0xA1, 0x6D, 0x50, 0xF4, 0x19}};

struct IAutomaticAngle : IUnknown {
    // The counter-clockwise turn in radians that levels the straight edges of the
    // filter's source picture; false (radians unchanged) when no tilt was found.
    virtual bool GetAutomaticAngle(double* radians) = 0;         // 3
};
