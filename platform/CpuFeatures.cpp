#include "platform/CpuFeatures.h"

#include <cstdlib>
#include <cstring>

bool PortableCodeForced()
{
    static const bool forced = [] {
        const char* value = std::getenv("BASICFILTERS_PORTABLE");
        return value != nullptr && std::strcmp(value, "") != 0 && std::strcmp(value, "0") != 0;
    }();
    return forced;
}

bool CpuHasSse2()
{
    static const bool has = __builtin_cpu_supports("sse2");
    return has && !PortableCodeForced();
}

bool CpuHasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has && !PortableCodeForced();
}
