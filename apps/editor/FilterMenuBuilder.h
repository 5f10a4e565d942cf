#pragma once
// The filter menus, built from what the module's factories say about themselves:
// each name is a menu path whose backslashes open sub-menus; entries are sorted by
// the factory's order, then by name, and a sub-menu sorts by its first entry. A
// filter named like a sub-menu beside it heads that sub-menu instead. Filters
// with settings end in an ellipsis, as commands that open a dialog do; filters the
// module cannot create are shown disabled.

#include "refhost/FilterCatalog.h"

#include <QString>

#include <vector>

class QAction;
class QMenu;

class CFilterMenuBuilder {
public:
    struct FilterAction {
        QAction* action;
        const FilterEntry* entry;
    };

    // Fills menu; the actions belong to it.
    static std::vector<FilterAction> Build(QMenu* menu, const std::vector<FilterEntry>& entries);

    // The name a filter goes by: the last part of its menu path.
    static QString FilterName(const FilterEntry& entry);
};
