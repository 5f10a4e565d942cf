#include "refhost/IconLoader.h"

#include "platform/IconDirectory.h"

#include <QFile>

#include <elf.h>

#include <bit>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

// The ELF structures are read as they lie in the file, which matches only a
// little-endian machine reading a little-endian file.
static_assert(std::endian::native == std::endian::little);

namespace {

using Bytes = std::vector<unsigned char>;

// Written as a subtraction so that an offset or size near 2^64 cannot wrap around.
bool FitsInFile(uint64_t offset, uint64_t size, uint64_t fileSize)
{
    return offset <= fileSize && size <= fileSize - offset;
}

bool ReadAt(QFile& file, uint64_t offset, uint64_t size, void* out)
{
    if (!FitsInFile(offset, size, static_cast<uint64_t>(file.size()))) return false;
    if (size == 0) return true;
    const auto wanted = static_cast<qint64>(size);
    return file.seek(static_cast<qint64>(offset)) && file.read(static_cast<char*>(out), wanted) == wanted;
}

// Checked before allocating, so that a corrupt size never asks for more memory than
// the file holds.
std::optional<Bytes> ReadBytes(QFile& file, uint64_t offset, uint64_t size)
{
    if (!FitsInFile(offset, size, static_cast<uint64_t>(file.size()))) return std::nullopt;
    Bytes bytes(size);
    if (!ReadAt(file, offset, size, bytes.data())) return std::nullopt;
    return bytes;
}

bool IsLittleEndianElf64(const Elf64_Ehdr& header)
{
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == ELFCLASS64
        && header.e_ident[EI_DATA] == ELFDATA2LSB && header.e_shentsize == sizeof(Elf64_Shdr);
}

// A file with 0xff00 sections or more keeps the count elsewhere; a module never has
// that many, so such a file simply shows no section.
std::optional<std::vector<Elf64_Shdr>> ReadSectionHeaders(QFile& file, const Elf64_Ehdr& header)
{
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (!ReadAt(file, header.e_shoff, sections.size() * sizeof(Elf64_Shdr), sections.data())) return std::nullopt;
    return sections;
}

std::optional<Bytes> ReadSectionContent(QFile& file, const Elf64_Shdr& section)
{
    // A section without bits in the file has a size but no content to read.
    if (section.sh_type == SHT_NOBITS) return std::nullopt;
    return ReadBytes(file, section.sh_offset, section.sh_size);
}

// Empty for an offset outside the name table or a name without its terminator.
std::string_view NameAt(const Bytes& names, uint64_t offset)
{
    if (offset >= names.size()) return {};
    const auto* start = reinterpret_cast<const char*>(names.data()) + offset;
    const auto* end = static_cast<const char*>(std::memchr(start, '\0', names.size() - offset));
    if (end == nullptr) return {};
    return {start, static_cast<size_t>(end - start)};
}

const Elf64_Shdr* FindSection(const std::vector<Elf64_Shdr>& sections, const Bytes& names, std::string_view name)
{
    for (const Elf64_Shdr& section : sections) {
        if (NameAt(names, section.sh_name) == name) return &section;
    }
    return nullptr;
}

std::optional<Bytes> ReadIconSection(QFile& file)
{
    Elf64_Ehdr header{};
    if (!ReadAt(file, 0, sizeof header, &header) || !IsLittleEndianElf64(header)) return std::nullopt;
    const auto sections = ReadSectionHeaders(file, header);
    if (!sections || header.e_shstrndx >= sections->size()) return std::nullopt;
    const auto names = ReadSectionContent(file, (*sections)[header.e_shstrndx]);
    if (!names) return std::nullopt;
    const Elf64_Shdr* icons = FindSection(*sections, *names, kIconSectionName);
    if (icons == nullptr) return std::nullopt;
    return ReadSectionContent(file, *icons);
}

} // namespace

QImage LoadModuleIcon(const QString& modulePath, int index)
{
    if (index < 0 || modulePath.isEmpty()) return {};
    QFile file(modulePath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const auto section = ReadIconSection(file);
    if (!section) return {};
    const std::vector<IconEntry> entries = ParseIconDirectory(*section);
    if (static_cast<size_t>(index) >= entries.size()) return {};
    const std::span<const unsigned char> png = entries[static_cast<size_t>(index)].png;
    QImage image;
    image.loadFromData(QByteArrayView(png.data(), static_cast<qsizetype>(png.size())), "PNG");
    return image;
}
