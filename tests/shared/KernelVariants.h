#pragma once
// What every suite of kernel variants shares: the variant's name in test names and
// failure messages, and a skip, instead of a comparison of the portable loop with
// itself, where the processor lacks the variant's instructions.

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace kernel_variants {

// instructions: "" for a portable loop, else "SSE2" or "AVX2".
struct Named {
    const char* name;
    const char* instructions;
};

inline std::ostream& operator<<(std::ostream& out, const Named& variant)
{
    return out << variant.name;
}

inline bool RunsHere(const Named& variant)
{
    if (std::strcmp(variant.instructions, "SSE2") == 0) return __builtin_cpu_supports("sse2") != 0;
    if (std::strcmp(variant.instructions, "AVX2") == 0) return __builtin_cpu_supports("avx2") != 0;
    return variant.instructions[0] == '\0';
}

} // namespace kernel_variants

template <class Variant>
class KernelVariantTest : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override
    {
        if (!kernel_variants::RunsHere(this->GetParam())) {
            GTEST_SKIP() << "no " << this->GetParam().instructions << " here";
        }
    }
};

struct NameOfVariant {
    template <class Variant>
    std::string operator()(const testing::TestParamInfo<Variant>& info) const
    {
        return info.param.name;
    }
};
