#include "filters/exposure/ExposureCurveText.h"

#include "filters/exposure/ExposureKernel.h"
#include "filters/exposure/ExposureSettings.h"

#include <cstdio>

WString SplinePointKey(char16_t axis, int index)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", index);
    WString key(1, axis);
    for (const char* c = digits; *c != '\0'; ++c) key.push_back(static_cast<char16_t>(*c));
    return key;
}

bool ReadCurvePoints(const CParamList& params, std::vector<double>& x, std::vector<double>& y)
{
    int count = 0;
    if (!params.GetInt(kNumSplinePointsKey, count) || count < 2) return false;
    std::vector<double> xs;
    std::vector<double> ys;
    for (int k = 0; k < count; ++k) {
        double px = 0.0;
        double py = 0.0;
        if (!params.GetDouble(SplinePointKey(u'X', k).c_str(), px) ||
            !params.GetDouble(SplinePointKey(u'Y', k).c_str(), py)) {
            return false;
        }
        xs.push_back(px);
        ys.push_back(py);
    }
    x = std::move(xs);
    y = std::move(ys);
    return true;
}

void WriteCurvePoints(const CNaturalSpline& curve, CParamList& params)
{
    if (!curve.IsValid()) return;
    params.SetInt(kNumSplinePointsKey, curve.Count());
    for (int k = 0; k < curve.Count(); ++k) {
        params.SetDouble(SplinePointKey(u'X', k).c_str(), curve.X(k));
        params.SetDouble(SplinePointKey(u'Y', k).c_str(), curve.Y(k));
    }
}
