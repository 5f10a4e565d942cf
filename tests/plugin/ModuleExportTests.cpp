// The module must show the host its one entry point and nothing of its own besides:
// every other exported name could clash with the host's or another plug-in's.

#include <elf.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<char> ReadFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <class T>
T At(const std::vector<char>& bytes, size_t offset)
{
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// Names of the dynamic symbols the file defines and lets others bind to.
std::set<std::string> ExportedSymbols(const std::vector<char>& bytes)
{
    std::set<std::string> names;
    const auto header = At<Elf64_Ehdr>(bytes, 0);
    for (int i = 0; i < header.e_shnum; ++i) {
        const auto section = At<Elf64_Shdr>(bytes, header.e_shoff + static_cast<size_t>(i) * header.e_shentsize);
        if (section.sh_type != SHT_DYNSYM) continue;
        const auto strings = At<Elf64_Shdr>(bytes, header.e_shoff + section.sh_link * header.e_shentsize);
        for (size_t at = section.sh_offset; at + sizeof(Elf64_Sym) <= section.sh_offset + section.sh_size;
             at += sizeof(Elf64_Sym)) {
            const auto symbol = At<Elf64_Sym>(bytes, at);
            const int binding = ELF64_ST_BIND(symbol.st_info);
            const bool visible = ELF64_ST_VISIBILITY(symbol.st_other) == STV_DEFAULT;
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK) || !visible) continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

} // namespace

TEST(ModuleExports, OnlyTheEntryPoint)
{
    const std::vector<char> bytes = ReadFile(BF_MODULE_PATH);
    ASSERT_GT(bytes.size(), sizeof(Elf64_Ehdr));
    ASSERT_EQ(std::memcmp(bytes.data(), ELFMAG, SELFMAG), 0);
    EXPECT_EQ(ExportedSymbols(bytes), std::set<std::string>{"PHOTO_PLUGIN_GetPrimaryComponent"});
}
