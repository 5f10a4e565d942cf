#include "refhost/ModuleLoader.h"

#include "platform/ComPtr.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace {

constexpr const char* kModuleFileName = "libBasicFilters.so";

} // namespace

std::string CModuleLoader::DefaultModulePath()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return kModuleFileName;
    self[length] = '\0';
    return ModulePathFor(self);
}

// Beside the program in a build tree; in the module's own folder under the library
// folder once installed, which is also the place named when neither holds it.
std::string CModuleLoader::ModulePathFor(const std::string& program)
{
    const std::filesystem::path folder = std::filesystem::path(program).parent_path();
    const std::filesystem::path beside = folder / kModuleFileName;
    const std::filesystem::path installed = (folder / BF_MODULE_DIR_FROM_PROGRAM / kModuleFileName).lexically_normal();
    std::error_code ignored;
    return std::filesystem::exists(beside, ignored) ? beside.string() : installed.string();
}

// The module is never unloaded: the factories are static objects of it, and every
// object it handed out must outlive its last caller.
bool CModuleLoader::Load(const std::string& path, std::string& error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = "cannot load the filter module '" + path + "': " + (reason != nullptr ? reason : "unknown reason");
        return false;
    }
    auto entry = reinterpret_cast<PrimaryComponentEntry>(dlsym(handle, kPrimaryComponentSymbol));
    if (entry == nullptr) {
        error = "'" + path + "' is not a filter module: it has no " + kPrimaryComponentSymbol;
        return false;
    }
    IComponent* primary = nullptr;
    if (!entry(&primary) || primary == nullptr) {
        error = "the filter module '" + path + "' handed out no component";
        return false;
    }
    auto enumerator = CComPtr<IComponentEnum>::Query(primary, IID_IComponentEnum);
    if (!enumerator) {
        error = "the filter module '" + path + "' lists no filters";
        return false;
    }
    m_path = path;
    m_primary = primary;
    m_factories.clear();
    for (int i = 0; i < enumerator->GetCount(); ++i) {
        IComponent* component = nullptr;
        if (!enumerator->GetAt(i, &component)) continue;
        if (auto factory = CComPtr<IFilterFactory>::Query(component, IID_IFilterFactory)) {
            m_factories.push_back(factory.Get());
        }
    }
    return true;
}
