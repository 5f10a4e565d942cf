#pragma once
// The curve's points as the parameter text keeps them: "NumSplinePoints" and the
// numbered pairs X000/Y000, X001/Y001, ... Point keys past the count may be left
// over from a longer curve; only the first n are read.

#include "Common/params/ParamList.h"
#include "platform/WideString.h"

#include <vector>

class CNaturalSpline;

// "X" or "Y" and the point's index from 0 in at least three digits.
WString SplinePointKey(char16_t axis, int index);

// The points as written, no rounding; false when the count is below 2 or missing,
// or a point's key is missing.
bool ReadCurvePoints(const CParamList& params, std::vector<double>& x, std::vector<double>& y);

// The count and the points of a valid curve; nothing for an empty one.
void WriteCurvePoints(const CNaturalSpline& curve, CParamList& params);
