#include "tests/FileBytes.h"
#include "tests/LoadedModule.h"

#include "platform/ComPtr.h"
#include "platform/IconDirectory.h"
#include "plugin/ComponentInterfaces.h"
#include "refhost/IconLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::string Text(std::span<const unsigned char> bytes)
{
    return {bytes.begin(), bytes.end()};
}

// ---------------------------------------------------------------------------
// The section format, on byte sequences written out by hand.

TEST(IconDirectoryParse, ReadsPaddedRecordsUpToTheEndRecord)
{
    const Bytes section = {
        0x8C, 0x13, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 'a', 'b', 'c', 'd', 'e', 0, 0, 0,  // 5004, 5 bytes + 3 padding
        0x71, 0x11, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 'w', 'x', 'y', 'z',              // 0x11171, no padding
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                  // end record
        0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 'q', 0, 0, 0,                    // after the end: ignored
    };
    const std::vector<IconEntry> entries = ParseIconDirectory(section);

    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 5004);
    EXPECT_EQ(entries[0].png.data(), section.data() + 8);
    EXPECT_EQ(Text(entries[0].png), "abcde");
    EXPECT_EQ(entries[1].id, 0x11171);
    EXPECT_EQ(entries[1].png.data(), section.data() + 24);
    EXPECT_EQ(Text(entries[1].png), "wxyz");
}

TEST(IconDirectoryParse, RecordsThatDoNotFitEndTheList)
{
    const Bytes truncatedHeader = {0x0C, 0, 0, 0, 2, 0, 0, 0, 'h', 'i', 0, 0, 0x0D, 0, 0, 0, 0x10};
    const Bytes sizePastEnd = {0x0C, 0, 0, 0, 2, 0, 0, 0, 'h', 'i', 0, 0, 0x0D, 0, 0, 0, 9, 0, 0, 0, 'a', 'b', 'c', 'd'};
    for (const Bytes& section : {truncatedHeader, sizePastEnd}) {
        const std::vector<IconEntry> entries = ParseIconDirectory(section);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].id, 12);
        EXPECT_EQ(Text(entries[0].png), "hi");
    }
}

TEST(IconDirectoryParse, DegenerateSectionsGiveNoEntries)
{
    const Bytes hugeSize = {0x10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0, 0, 0};
    const Bytes endRecordFirst = {0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 1, 0, 0, 0, 'a', 0, 0, 0};
    const Bytes shorterThanAHeader = {0x10, 0, 0, 0, 1, 0, 0};
    for (const Bytes& section : {Bytes{}, hugeSize, endRecordFirst, shorterThanAHeader}) {
        EXPECT_TRUE(ParseIconDirectory(section).empty());
    }
}

// ---------------------------------------------------------------------------
// The loader on the built module and on damaged copies of it.

// The module's icon list, in the order the build embeds it.
const std::vector<int> kModuleIconIds = {5004, 5016, 5019, 5054, 5030, 5059, 5031, 5032, 5055,
                                         5057, 5065, 2,    5083, 5089, 8,    12,   5072, 16};

constexpr int kIconSize = 32;

QImage ResourceIcon(int id)
{
    return QImage(QStringLiteral(BF_SOURCE_DIR "/resources/icons/%1.png").arg(id));
}

class ModuleIconLoader : public testing::Test {
protected:
    static QByteArray ModuleBytes()
    {
        static const QByteArray bytes = FileBytes(QStringLiteral(BF_MODULE_PATH));
        return bytes;
    }

    QString WriteCopy(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("copy%1.so").arg(m_copies++));
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_GT(ModuleBytes().size(), static_cast<qsizetype>(sizeof(Elf64_Ehdr)));
    }

private:
    QTemporaryDir m_dir;
    int m_copies = 0;
};

template <class T>
T ReadStruct(const QByteArray& bytes, size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    return value;
}

template <class T>
void WriteStruct(QByteArray& bytes, size_t offset, const T& value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// Applies change to every section header of an ELF image.
void ChangeSectionHeaders(QByteArray& bytes, const std::function<void(Elf64_Shdr&)>& change)
{
    const auto header = ReadStruct<Elf64_Ehdr>(bytes, 0);
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const size_t offset = header.e_shoff + i * sizeof(Elf64_Shdr);
        auto section = ReadStruct<Elf64_Shdr>(bytes, offset);
        change(section);
        WriteStruct(bytes, offset, section);
    }
}

TEST_F(ModuleIconLoader, EveryListedIndexGivesItsResourcePicture)
{
    const QString module = QStringLiteral(BF_MODULE_PATH);
    for (size_t index = 0; index < kModuleIconIds.size(); ++index) {
        SCOPED_TRACE(kModuleIconIds[index]);
        const QImage icon = LoadModuleIcon(module, static_cast<int>(index));
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(kIconSize, kIconSize));
        EXPECT_EQ(icon, ResourceIcon(kModuleIconIds[index]));
    }
    EXPECT_TRUE(LoadModuleIcon(module, static_cast<int>(kModuleIconIds.size())).isNull());
    EXPECT_TRUE(LoadModuleIcon(module, -1).isNull());
}

TEST_F(ModuleIconLoader, NoTwoIconsShareAPicture)
{
    std::vector<QImage> icons;
    for (size_t index = 0; index < kModuleIconIds.size(); ++index) {
        icons.push_back(LoadModuleIcon(QStringLiteral(BF_MODULE_PATH), static_cast<int>(index)));
    }
    for (size_t a = 0; a < icons.size(); ++a) {
        for (size_t b = a + 1; b < icons.size(); ++b) {
            EXPECT_NE(icons[a], icons[b]) << kModuleIconIds[a] << " and " << kModuleIconIds[b];
        }
    }
}

TEST_F(ModuleIconLoader, FilesThatAreNotModulesGiveNull)
{
    EXPECT_TRUE(LoadModuleIcon(QStringLiteral("/nonexistent/libBasicFilters.so"), 0).isNull());
    EXPECT_TRUE(LoadModuleIcon(QString(), 0).isNull());
    EXPECT_TRUE(LoadModuleIcon(WriteCopy(QByteArray("Not a module, only text.\n").repeated(20)), 0).isNull());
    EXPECT_TRUE(LoadModuleIcon(QFileInfo(QStringLiteral(BF_MODULE_PATH)).absolutePath(), 0).isNull());
}

TEST_F(ModuleIconLoader, TruncatedCopiesGiveNull)
{
    const QByteArray module = ModuleBytes();
    // The untouched copy loads: the failures below come from the truncation alone.
    ASSERT_FALSE(LoadModuleIcon(WriteCopy(module), 0).isNull());
    // The linker writes the section header table last, so every cut loses part of it.
    const qsizetype header = sizeof(Elf64_Ehdr);
    for (qsizetype length : {qsizetype{0}, qsizetype{4}, header - 1, header, module.size() / 2, module.size() - 1}) {
        SCOPED_TRACE(length);
        EXPECT_TRUE(LoadModuleIcon(WriteCopy(module.first(length)), 0).isNull());
    }
}

TEST_F(ModuleIconLoader, CorruptHeadersGiveNull)
{
    const QByteArray module = ModuleBytes();
    const auto fileSize = static_cast<uint64_t>(module.size());
    const std::map<std::string, std::function<void(QByteArray&)>> corruptions = {
        {"32-bit class", [](QByteArray& b) { b[EI_CLASS] = ELFCLASS32; }},
        {"big-endian data", [](QByteArray& b) { b[EI_DATA] = ELFDATA2MSB; }},
        {"header table near 2^64",
         [](QByteArray& b) { WriteStruct(b, offsetof(Elf64_Ehdr, e_shoff), uint64_t{0xFFFFFFFFFFFFFFC0}); }},
        {"too many sections", [](QByteArray& b) { WriteStruct(b, offsetof(Elf64_Ehdr, e_shnum), Elf64_Half{0xFFFF}); }},
        {"name table index out of range",
         [](QByteArray& b) {
             WriteStruct(b, offsetof(Elf64_Ehdr, e_shstrndx), ReadStruct<Elf64_Ehdr>(b, 0).e_shnum);
         }},
        {"sizes past the end",
         [](QByteArray& b) { ChangeSectionHeaders(b, [](Elf64_Shdr& s) { s.sh_size = ~uint64_t{0}; }); }},
        {"offsets past the end",
         [fileSize](QByteArray& b) { ChangeSectionHeaders(b, [fileSize](Elf64_Shdr& s) { s.sh_offset = fileSize; }); }},
        {"offsets near 2^64",
         [](QByteArray& b) { ChangeSectionHeaders(b, [](Elf64_Shdr& s) { s.sh_offset = ~uint64_t{0} - 3; }); }},
        {"no section content in the file",
         [](QByteArray& b) { ChangeSectionHeaders(b, [](Elf64_Shdr& s) { s.sh_type = SHT_NOBITS; }); }},
        {"names past the name table",
         [](QByteArray& b) { ChangeSectionHeaders(b, [](Elf64_Shdr& s) { s.sh_name = 0xFFFFFFF0; }); }},
    };
    for (const auto& [name, corrupt] : corruptions) {
        SCOPED_TRACE(name);
        QByteArray copy = module;
        corrupt(copy);
        EXPECT_TRUE(LoadModuleIcon(WriteCopy(copy), 0).isNull());
    }
}

TEST_F(ModuleIconLoader, ModuleWithoutTheIconSectionGivesNull)
{
    QByteArray renamed = ModuleBytes();
    ASSERT_TRUE(renamed.contains(kIconSectionName));
    renamed.replace(kIconSectionName, ".bfother");
    EXPECT_TRUE(LoadModuleIcon(WriteCopy(renamed), 0).isNull());
}

// ---------------------------------------------------------------------------
// What the loaded module's factories answer, resolved by the loader.

constexpr int kFactoryCount = 20;
// GetAt index -> icon id; the right-angle rotations (3, 4, 14, 17) have none.
const std::map<int, int> kFactoryIconIds = {{0, 5004}, {1, 5016},  {2, 5019},  {5, 5054},  {6, 5030},  {7, 5059},
                                            {8, 5031}, {9, 5032},  {10, 5055}, {11, 5057}, {12, 5065}, {13, 2},
                                            {15, 5083}, {16, 5089}, {18, 8},   {19, 12}};
constexpr int kUntouched = -7;
constexpr int kRoomyCapacity = 4096;

IComponent* Factory(int index)
{
    IComponent* factory = nullptr;
    return LoadedModuleEnumerator()->GetAt(index, &factory) ? factory : nullptr;
}

QString CanonicalModulePath()
{
    return QFileInfo(QStringLiteral(BF_MODULE_PATH)).canonicalFilePath();
}

TEST(ModuleFactoryIcons, EachFactoryIconResolvesToItsPicture)
{
    ASSERT_NE(LoadedModuleEnumerator(), nullptr) << dlerror();
    ASSERT_EQ(LoadedModuleEnumerator()->GetCount(), kFactoryCount);
    for (int index = 0; index < kFactoryCount; ++index) {
        SCOPED_TRACE(index);
        IComponent* factory = Factory(index);
        ASSERT_NE(factory, nullptr);
        std::vector<char16_t> path(kRoomyCapacity, u'\0');
        int iconIndex = kUntouched;
        const bool answered = factory->GetIcon(path.data(), kRoomyCapacity, &iconIndex);

        const auto expected = kFactoryIconIds.find(index);
        if (expected == kFactoryIconIds.end()) {
            EXPECT_FALSE(answered);
            EXPECT_EQ(iconIndex, kUntouched);
            continue;
        }
        ASSERT_TRUE(answered);
        const QString answeredPath = QString::fromUtf16(path.data());
        EXPECT_EQ(answeredPath, CanonicalModulePath());
        const QImage icon = LoadModuleIcon(answeredPath, iconIndex);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), QSize(kIconSize, kIconSize));
        EXPECT_EQ(icon, ResourceIcon(expected->second));
    }
}

TEST(ModuleFactoryIcons, CapacityMustExceedThePathLength)
{
    ASSERT_NE(LoadedModuleEnumerator(), nullptr) << dlerror();
    IComponent* flipHorizontal = Factory(0);
    ASSERT_NE(flipHorizontal, nullptr);
    const QString expectedPath = CanonicalModulePath();
    const auto length = static_cast<int>(expectedPath.size());

    // Exactly the path's length leaves no room for the terminator; the buffer is that
    // small too, so a write past it shows under the address sanitizer.
    std::vector<char16_t> tight(static_cast<size_t>(length));
    int iconIndex = kUntouched;
    EXPECT_FALSE(flipHorizontal->GetIcon(tight.data(), length, &iconIndex));
    EXPECT_EQ(iconIndex, kUntouched);

    std::vector<char16_t> enough(static_cast<size_t>(length) + 1, u'#');
    ASSERT_TRUE(flipHorizontal->GetIcon(enough.data(), length + 1, &iconIndex));
    EXPECT_EQ(QString::fromUtf16(enough.data()), expectedPath);
    EXPECT_EQ(iconIndex, 0);
}

} // namespace
