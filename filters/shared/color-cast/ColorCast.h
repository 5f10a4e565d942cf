#pragma once
// Colour-cast detection: the gains for red, green and blue that bring the picture's
// most neutral pixels to grey. Autofix's colour fix and colour balance's "Autofix
// Color Cast" button share it.
//
// Every pixel whose three levels lie within 25 to 230 is placed by its angles from
// the grey axis (the diagonal of the colour cube). A cast shows as a shift of the
// weighted mean of those angles that is large next to their spread; the picture is
// then corrected with the mean colour of the fifth of the pixels nearest to grey.

#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"

struct ColorCastFactors {
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;
};

// The analysis of a picture as given (no reduction); false when it finds no record, a
// zero spread, N = 0, or is stopped. Reports (position, 4 x height).
bool AnalyseColorCast(const PixelRows& rows, const UnitReport& report, ColorCastFactors& factors);

// The whole detection: a bilinear copy through the host's IResizableImage::Resize
// (interpolation code 4) when a side exceeds 640, the progress text "Detecting color
// cast..." (the module's string table), the analysis, Finish(result) on the sink.
// factors stay 1.0 when no cast is found.
bool DetectColorCast(IImage* image, IProgress* progress, double* red, double* green, double* blue);
