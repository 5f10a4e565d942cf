#include "platform/ModulePath.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>

namespace {

// An address inside this module; dladdr maps it to the file that holds it.
void ModuleAnchor() {}

} // namespace

WString ModuleFilePath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleAnchor), &info) == 0 || info.dli_fname == nullptr) return {};
    // The loader reports the name it was given, which may be relative.
    std::unique_ptr<char, decltype(&std::free)> absolute(realpath(info.dli_fname, nullptr), &std::free);
    return WidenUtf8(absolute ? absolute.get() : info.dli_fname);
}
