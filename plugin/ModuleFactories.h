#pragma once
// The module's filter factories: static objects that live as long as the module.

#include "plugin/FilterFactoryBase.h"

#include <cstdlib>
#include <span>

// Every factory of the module, one per filter, in the order of the factory table.
std::span<CFilterFactoryBase* const> ModuleFactories();

// The factories the enumerator hands out, in its order: the table's, less those whose
// description keeps them unlisted.
std::span<CFilterFactoryBase* const> ListedFactories();

// The module's factory of class F: the free rotation reuses the right-angle filters
// through their factories.
template <class F>
F& FactoryOf()
{
    for (CFilterFactoryBase* factory : ModuleFactories()) {
        if (auto* wanted = dynamic_cast<F*>(factory)) return *wanted;
    }
    std::abort();  // every factory class has its row in the table
}
