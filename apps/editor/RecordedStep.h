#pragma once
// What the editor writes into the history for a recipe when a filter is applied:
// the filter's menu path, the parameter text it held when the user pressed OK, and
// the rectangle dragged on the photo for a filter that reads it when it applies.
// A line drawn for Rotate is not kept: the filter has already turned it into its angle.

#include "platform/WideString.h"
#include "refhost/FilterCatalog.h"
#include "refhost/Recipe.h"

#include <QString>

// shapeText is the photo view's "left top right bottom" (empty when nothing is drawn).
RecipeStep RecordedStep(const FilterEntry& entry, const WString& format, const QString& shapeText);
