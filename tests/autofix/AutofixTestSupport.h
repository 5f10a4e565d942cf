#pragma once
// What the Autofix tests share: the parameter text of a choice of fixes, pictures
// whose pixels the fixes can judge, and reading the results back.

#include "tests/TestSupport.h"
#include "tests/shared/straightening/KnownTilts.h"

#include "Common/params/ParamList.h"
#include "filters/autofix/AutofixFactory.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/rotate/RotateFactory.h"
#include "platform/Localization.h"
#include "refhost/PluginHost.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

struct Fixes {
    bool rotation = false;
    bool color = false;
    bool exposure = false;
    bool noise = false;
};

// Every key written, 1 or 0.
inline WString AutofixText(const Fixes& fixes)
{
    CParamList params;
    params.SetInt(u"AutofixColor", fixes.color ? 1 : 0);
    params.SetInt(u"AutofixExposure", fixes.exposure ? 1 : 0);
    params.SetInt(u"AutofixNoise", fixes.noise ? 1 : 0);
    params.SetInt(u"AutofixRotate", fixes.rotation ? 1 : 0);
    return params.ToString();
}

inline CComPtr<IInteractiveFilter> AutofixFilter(CHostImage* source, const WString& text)
{
    return CreateInteractiveFilter(FactoryOf<CInteractiveAutofixFactory>(), static_cast<IImage*>(source),
                                   text.c_str());
}

inline uint32_t Colour(int red, int green, int blue, uint32_t fourth = 0xFF)
{
    return fourth << 24 | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

inline int Channel(uint32_t pixel, int shift)
{
    return static_cast<int>(pixel >> shift & 0xFF);
}

// The lines of a known tilt drawn in warm colours, so that the colour-cast detection
// finds pixels to judge and the straightening finds the lines.
inline CComPtr<CHostImage> WarmTiltedLines(int width, int height, double degrees)
{
    const LinePattern pattern{.degrees = degrees};
    return MakeImage(width, height, [&](int x, int y) {
        const double ink = LineCoverage(pattern, x, y);
        const auto mix = [ink](int ground, int line) {
            return static_cast<int>(std::lround(ground - (ground - line) * ink));
        };
        return Colour(mix(215, 60), mix(190, 45), mix(150, 30));
    });
}

// The turn the rotation fix gives source: the free rotation, set up by its parameter
// text with the negated tilt written with every digit a double has, cropping and
// scaling back to the size. Needs the factories set up as below.
inline CComPtr<IImage> TurnedAgainstItsTilt(CHostImage* source)
{
    const double degrees = -static_cast<double>(DetectedTilt(source)) / std::numbers::pi * 180;
    char angle[64];
    std::snprintf(angle, sizeof angle, "%.17g", degrees);
    const WString text = WString(u"angle:") + WidenUtf8(angle) + u"\ncroptype:2\n";
    const CComPtr<IInteractiveFilter> rotation =
        CreateInteractiveFilter(FactoryOf<CInteractiveRotateFactory>(), static_cast<IImage*>(source), text.c_str());
    CComPtr<IImage> result;
    EXPECT_TRUE(rotation->Apply(nullptr, result.Receive(), nullptr, nullptr));
    return result;
}

// The free rotation and the exact filters it hands right angles to, with a host to
// make their images, as the hosts set them up.
class AutofixWithHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CFilterFactoryBase* factory : RotationFactories()) factory->Initialize(static_cast<IPluginHost*>(host.Get()), 0);
    }
    void TearDown() override
    {
        for (CFilterFactoryBase* factory : RotationFactories()) factory->Uninitialize(0);
    }

    static std::array<CFilterFactoryBase*, 5> RotationFactories()
    {
        return {&FactoryOf<CInteractiveRotateFactory>(), &FactoryOf<CRot0DegreesFactory>(),
                &FactoryOf<CRot90CounterClockWiseFactory>(), &FactoryOf<CRot180Factory>(),
                &FactoryOf<CRot90ClockWiseFactory>()};
    }

    CComPtr<CPluginHost> host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(kLanguageEnglishUS));
};
