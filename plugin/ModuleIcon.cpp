#include "plugin/ModuleIcon.h"

#include "platform/IconDirectory.h"
#include "platform/ModulePath.h"

#include <algorithm>

namespace {

constexpr size_t kMaxModulePath = 999;

// The identifiers of the module's icons in list order, read once per process.
const std::vector<int>& ModuleGroupIconIds()
{
    static const std::vector<int> ids = [] {
        std::vector<int> list;
        for (const IconEntry& entry : ParseIconDirectory(ModuleIconSection())) list.push_back(entry.id);
        return list;
    }();
    return ids;
}

} // namespace

bool FindModuleIcon(int iconId, char16_t* path, int capacity, int* index)
{
    if (path == nullptr || capacity <= 0 || index == nullptr) return false;
    WString modulePath = ModuleFilePath();
    if (modulePath.size() > kMaxModulePath) modulePath.resize(kMaxModulePath);
    if (modulePath.size() >= static_cast<size_t>(capacity)) return false;
    std::copy(modulePath.begin(), modulePath.end(), path);
    path[modulePath.size()] = u'\0';

    const std::vector<int>& ids = ModuleGroupIconIds();
    const auto found = std::find(ids.begin(), ids.end(), iconId);
    if (found == ids.end()) return false;
    *index = static_cast<int>(found - ids.begin());
    return true;
}
