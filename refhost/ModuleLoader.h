#pragma once
// Loads the filter module the way a host does: dlopen, the one exported entry
// point, and the factories the enumerator hands out.

#include "plugin/ComponentInterfaces.h"

#include <string>
#include <vector>

class CModuleLoader {
public:
    // The module file of the running program: ModulePathFor(the program's file).
    static std::string DefaultModulePath();
    // Beside the program if it is there, else where an installation puts it.
    static std::string ModulePathFor(const std::string& program);

    // False with a message when the file cannot be loaded, lacks the entry point, or
    // hands out no enumerator.
    bool Load(const std::string& path, std::string& error);

    const std::string& Path() const { return m_path; }
    IComponent* Primary() const { return m_primary; }
    // The listed factories, in the enumerator's order.
    const std::vector<IFilterFactory*>& Factories() const { return m_factories; }

private:
    std::string m_path;
    IComponent* m_primary = nullptr;
    std::vector<IFilterFactory*> m_factories;
};
