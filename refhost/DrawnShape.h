#pragma once
// The rectangle or line a user draws on the editor's preview, given without an
// editor: which filters read which, and handing one to a filter on a preview site of
// its own, as the editor's mouse tools do.

#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"

#include <array>
#include <optional>

struct DrawnShapes {
    std::optional<std::array<int, 4>> selection;  // left, top, right, bottom
    std::optional<std::array<int, 4>> line;       // x1, y1, x2, y2
};

// The first shape given that the filter does not read (None when it reads all that
// are given). A filter of another module declares nothing: it gets what it is given.
PreviewShape RefusedShape(const FilterEntry& entry, const DrawnShapes& shapes);

// Whether the filter needs a shape that is not given.
bool LacksRequiredShape(const FilterEntry& entry, const DrawnShapes& shapes);

// Hands the shape given (if any) to filter on a preview site of its own, which the
// filter keeps until it is released, and lets the filter read it.
void HandDrawnShape(IFilter* filter, const DrawnShapes& shapes);
