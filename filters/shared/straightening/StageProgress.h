#pragma once
// The detection's one count of work across all its stages: every stage reports its
// units (rows, columns, estimates) against the total announced at the start.

#include "filters/shared/pixels/PixelRows.h"

class StageProgress {
public:
    // An empty report makes every unit go ahead.
    StageProgress(UnitReport report, int total);

    // Tells the report the units done so far, then counts units more; false when the
    // report stops the work.
    bool Next(int units = 1);
    int Done() const { return m_done; }
    int Total() const { return m_total; }

private:
    UnitReport m_report;
    int m_total;
    int m_done = 0;
};
