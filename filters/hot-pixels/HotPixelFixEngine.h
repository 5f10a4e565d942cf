#pragma once
// The hot pixel fixer on a host's pixel section, in place, reporting to the host's
// progress sink in two phases (the noise reduction of the work copy, then the
// detection and repair); the sink is told Finish when the first phase ends. False
// for a section that is not 32 bits per pixel, a failed allocation or a stop.

#include "host/HostInterfaces.h"

bool FixHotPixelsInSection(HBITMAP bitmap, int intensity, IProgress* progress);
