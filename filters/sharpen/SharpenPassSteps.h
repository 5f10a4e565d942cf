#pragma once
// The blur's passes run together, row by row, yet the hosts still see each pass's
// text and its own steps in turn: the share of the rows done is told as the same
// share of all the passes' steps, a pass announcing itself when its first step is due.

#include "filters/shared/pixels/PixelRows.h"

#include <vector>

struct IProgress;

class CSharpenPassSteps {
public:
    struct Pass {
        unsigned textId;
        int steps;
    };

    // phases counts in units of all passes together (CMultiphaseProgress); it may be
    // null, and then nothing is told. The first pass announces itself at once.
    CSharpenPassSteps(IProgress* phases, std::vector<Pass> passes);

    // The report BlurPicture takes; empty without phases.
    UnitReport Report();

private:
    bool TellShare(int done, int total);

    IProgress* m_phases;
    std::vector<Pass> m_passes;
    long long m_allSteps = 0;
    long long m_told = 0;
    size_t m_pass = 0;
    int m_inPass = 0;
};
