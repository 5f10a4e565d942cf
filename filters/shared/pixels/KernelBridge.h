#pragma once
// Hands the host's images and progress sink to the pure kernels, which know only
// pixel rows and a per-unit report.

#include "filters/shared/pixels/PixelRows.h"
#include "host/HostInterfaces.h"

// The rows of a pixel section; empty (null bits) for a handle without a description.
PixelRows RowsOfSection(HBITMAP section);
// The rows of an image as its IBitmap describes them; empty for a null bitmap.
PixelRows RowsOfBitmap(IBitmap* bitmap);
// The rows of an image that answers IBitmap; empty for one that does not.
PixelRows RowsOfImage(IUnknown* image);
// Forwards each report to progress->Step; an empty report for a null sink.
UnitReport ReportTo(IProgress* progress);
