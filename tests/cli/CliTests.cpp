// The command-line tool run as a user runs it: a separate process on real files.

#include "tests/CliRunner.h"
#include "tests/TestSupport.h"
#include "tests/plugin/ListedFactories.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <ostream>
#include <random>
#include <string>

namespace {

// A filter not built yet is listed as unavailable; a built one shows its real kind.
bool KindFits(const QString& kind, const ListedFactory& filter)
{
    return kind == QLatin1String("unavailable") || kind == QLatin1String(filter.interactive ? "interactive" : "plain");
}

QImage TranslucentPicture()
{
    QImage picture(9, 7, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgba(25 * x, 30 * y, 7 * x + y, 28 * x + y));
    }
    return picture;
}

using DirectorySnapshot = std::map<QString, QByteArray>;

DirectorySnapshot SnapshotOf(const QString& directory)
{
    DirectorySnapshot snapshot;
    QDirIterator files(directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        snapshot[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    }
    return snapshot;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(PhotoLikePicture().save(PathOf("in.png")));
        ASSERT_TRUE(PhotoLikePicture().save(PathOf("in.jpg"), "JPG", 90));
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    // Words starting with '@' name files in the test's directory.
    QStringList Resolved(const QStringList& words) const
    {
        QStringList resolved;
        for (const QString& word : words) resolved << (word.startsWith('@') ? PathOf(word.mid(1)) : word);
        return resolved;
    }

    QTemporaryDir m_directory;
};

// ---------------------------------------------------------------- list

TEST_F(CliTest, ListPrintsAHeaderAndTheTwentyFiltersInEnumeratorOrder)
{
    const RunResult run = RunCli({"list"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    // The twenty, then the filters outside the enumerator (UnlistedCliTests).
    ASSERT_EQ(lines.size(), 23) << Describe(run);
    EXPECT_TRUE(lines[0].contains("index") && lines[0].contains("menu path")) << lines[0].toStdString();

    static const QRegularExpression row(
        R"(^\s*(\d+)  (.+?)\s+(plain|interactive|unavailable)\s+([0-9A-F]{8})\s+(\d+)\s+(-|\d+)$)");
    for (int i = 0; i < 20; ++i) {
        const QString& line = lines[i + 1];
        const QRegularExpressionMatch match = row.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        const ListedFactory& expected = kListedFactories[i];
        EXPECT_EQ(match.captured(1).toInt(), i);
        EXPECT_EQ(match.captured(2), QString::fromUtf16(expected.name)) << i;
        EXPECT_TRUE(KindFits(match.captured(3), expected)) << line.toStdString();
        EXPECT_EQ(match.captured(4).toUInt(nullptr, 16), expected.flags) << line.toStdString();
        EXPECT_EQ(match.captured(5).toInt(), expected.order) << line.toStdString();
        EXPECT_EQ(match.captured(6) != QLatin1String("-"), expected.hasIcon) << line.toStdString();
    }
    EXPECT_TRUE(lines[kRotate0Index + 1].contains(" plain ")) << "Rotate 0 Degrees exists and has no settings";
}

TEST_F(CliTest, ListJsonDescribesTheSameFilters)
{
    const RunResult run = RunCli({"list", "--json"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(document.isArray());
    const QJsonArray filters = document.array();
    ASSERT_EQ(filters.size(), 22) << "the twenty, then the two outside the enumerator";
    for (int i = 0; i < 20; ++i) {
        const QJsonObject filter = filters[i].toObject();
        const ListedFactory& expected = kListedFactories[i];
        for (const char* key : {"index", "name", "kind", "flags", "order", "icon"}) {
            EXPECT_TRUE(filter.contains(QLatin1String(key))) << i << " lacks " << key;
        }
        EXPECT_EQ(filter["index"].toInt(-1), i);
        EXPECT_EQ(filter["name"].toString(), QString::fromUtf16(expected.name));
        EXPECT_TRUE(KindFits(filter["kind"].toString(), expected)) << i;
        EXPECT_EQ(static_cast<uint32_t>(filter["flags"].toDouble(-1)), expected.flags) << i;
        EXPECT_EQ(filter["order"].toInt(-1), expected.order) << i;
        ASSERT_TRUE(filter["icon"].isDouble()) << i;
        EXPECT_EQ(filter["icon"].toInt() >= 0, expected.hasIcon) << i;
    }
    EXPECT_EQ(filters[kRotate0Index].toObject()["kind"].toString(), QStringLiteral("plain"));
}

// ---------------------------------------------------------------- apply

TEST_F(CliTest, RotateZeroDegreesWritesTheSamePixelsByAnyOfItsNames)
{
    const QImage input = Decoded(PathOf("in.png"));
    struct NamedCall {
        QString name;
        QStringList options;
    };
    int outputNumber = 0;
    for (const NamedCall& call : {NamedCall{"Rotate\\Rotate 0 Degrees", {}}, NamedCall{"Rotate 0 Degrees", {}},
                                  NamedCall{"17", {}}, NamedCall{"rotate 0 DEGREES", {"--quiet"}},
                                  NamedCall{"017", {"-q"}}}) {
        const QString output = PathOf(QStringLiteral("out%1.png").arg(++outputNumber));
        const RunResult run = RunCli(call.options + QStringList{"apply", call.name, PathOf("in.png"), output});
        ASSERT_EQ(run.exitCode, 0) << call.name.toStdString() << "\n" << Describe(run);
        // Without a terminal there is no progress bar: a successful run is silent.
        EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << Describe(run);
        const QImage written = Decoded(output);
        EXPECT_EQ(FirstPixelDifference(input, written), "") << call.name.toStdString();
        EXPECT_EQ(written.dotsPerMeterX(), 11811);
    }
}

TEST_F(CliTest, RotateZeroDegreesKeepsAlpha)
{
    const QImage input = TranslucentPicture();
    ASSERT_TRUE(input.save(PathOf("alpha.png")));
    const RunResult run = RunCli({"apply", "17", PathOf("alpha.png"), PathOf("out.png")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QImage written = Decoded(PathOf("out.png"));
    EXPECT_TRUE(written.hasAlphaChannel());
    EXPECT_EQ(FirstPixelDifference(input, written), "");
}

TEST_F(CliTest, JpegInputGivesThePngOfTheDecodedPicture)
{
    QStringList inputs{PathOf("in.jpg")};
    const QString bundled = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
    if (QFileInfo::exists(bundled)) {
        ASSERT_TRUE(QFile::copy(bundled, PathOf("fruits.jpg")));
        inputs << PathOf("fruits.jpg");
    }
    for (const QString& input : inputs) {
        const QString output = input + ".png";
        const RunResult run = RunCli({"apply", "Rotate 0 Degrees", input, output});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        EXPECT_EQ(FirstPixelDifference(Decoded(input), Decoded(output)), "") << input.toStdString();
    }
}

TEST_F(CliTest, OverwriteAllowsTheInputAsOutput)
{
    const QImage before = Decoded(PathOf("in.png"));
    const RunResult run = RunCli({"apply", "17", PathOf("in.png"), PathOf("in.png"), "--overwrite"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_EQ(FirstPixelDifference(before, Decoded(PathOf("in.png"))), "");
    EXPECT_EQ(QDir(m_directory.path()).entryList(QDir::Files), (QStringList{"in.jpg", "in.png"}));
}

// "Rotate" is both the free rotation's whole menu path and the sub-menu of six
// other filters; it names the free rotation alone.
TEST_F(CliTest, MenuPathThatIsAlsoASubMenuNamesOneFilter)
{
    for (const char* name : {"Rotate", "ROTATE"}) {
        const RunResult apply = RunCli({"apply", name, PathOf("absent.png"), PathOf("out.png")});
        // Reading the input comes after the filter was found; an ambiguous or unknown
        // name would stop earlier with the usage code.
        EXPECT_EQ(apply.exitCode, 3) << Describe(apply);
        EXPECT_TRUE(apply.err.contains("absent.png")) << Describe(apply);
        EXPECT_FALSE(apply.err.contains("several")) << Describe(apply);
        EXPECT_EQ(RunCli({"format", name}).exitCode, 0);
    }
}

// ---------------------------------------------------------------- failures

struct FailureCase {
    const char* label;
    QStringList words;
    int exitCode;
};

void PrintTo(const FailureCase& failure, std::ostream* out)
{
    *out << failure.label;
}

class CliFailureTest : public CliTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        ASSERT_TRUE(TranslucentPicture().save(PathOf("out.png")));
        std::mt19937 random(5);
        QByteArray noise;
        for (int i = 0; i < 2048; ++i) noise.append(static_cast<char>(random() & 0xFF));
        ASSERT_TRUE(WriteBytes(PathOf("corrupt.jpg"), noise));
        ASSERT_TRUE(WriteBytes(PathOf("out.xyz"), "somebody's file"));
    }
};

TEST_P(CliFailureTest, ExitsWithItsCodeSaysWhyAndTouchesNoFile)
{
    const DirectorySnapshot before = SnapshotOf(m_directory.path());
    const RunResult run = RunCli(Resolved(GetParam().words));
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << Describe(run);
    EXPECT_FALSE(run.err.trimmed().isEmpty()) << Describe(run);
    EXPECT_TRUE(run.out.isEmpty()) << Describe(run);
    EXPECT_TRUE(SnapshotOf(m_directory.path()) == before) << "files changed";
}

INSTANTIATE_TEST_SUITE_P(
    Calls, CliFailureTest,
    ::testing::Values(
        FailureCase{"unknown filter", {"apply", "No Such Filter", "@in.png", "@out.png"}, 2},
        FailureCase{"index past the last filter", {"apply", "22", "@in.png", "@out.png"}, 2},
        FailureCase{"output is the input", {"apply", "17", "@in.png", "@in.png"}, 2},
        FailureCase{"output is the input spelt differently", {"apply", "17", "@in.png", "@./in.png"}, 2},
        FailureCase{"corrupt input", {"apply", "17", "@corrupt.jpg", "@new.png"}, 3},
        FailureCase{"missing input", {"apply", "17", "@absent.png", "@out.png"}, 3},
        FailureCase{"directory as input", {"apply", "17", "@", "@out.png"}, 3},
        FailureCase{"output directory missing", {"apply", "17", "@in.png", "@missing/out.png"}, 3},
        FailureCase{"unknown output suffix", {"apply", "17", "@in.png", "@out.xyz"}, 3},
        FailureCase{"missing operand", {"apply", "17", "@in.png"}, 2},
        FailureCase{"extra operand", {"apply", "17", "@in.png", "@out.png", "@more.png"}, 2},
        FailureCase{"unknown option", {"apply", "17", "@in.png", "@out.png", "--bogus"}, 2},
        FailureCase{"option without its value", {"apply", "17", "@in.png", "@out.png", "--quality"}, 2},
        FailureCase{"quality out of range", {"apply", "17", "@in.png", "@out.png", "--quality", "101"}, 2},
        FailureCase{"setting without '='", {"apply", "17", "@in.png", "@out.png", "--set", "Key"}, 2},
        FailureCase{"setting without value", {"apply", "17", "@in.png", "@out.png", "--set", "Key="}, 2},
        FailureCase{"settings for a filter without any", {"apply", "17", "@in.png", "@out.png", "--set", "Key=1"}, 2},
        FailureCase{"missing module", {"--module", "/nonexistent/libBasicFilters.so", "apply", "17", "@in.png", "@out.png"}, 3},
        FailureCase{"missing module for list", {"--module", "/nonexistent.so", "list"}, 3},
        FailureCase{"picture as module", {"--module", "@in.png", "list"}, 3},
        FailureCase{"unknown command", {"frobnicate"}, 2},
        FailureCase{"no command", {}, 2},
        FailureCase{"format without a filter", {"format"}, 2},
        FailureCase{"format of an unknown filter", {"format", "Nothing"}, 2},
        FailureCase{"malformed parameter text", {"format", "17", "--format", "Key:\n"}, 2},
        FailureCase{"missing parameter file", {"format", "17", "--format-file", "@absent.txt"}, 2},
        FailureCase{"both parameter sources", {"format", "17", "--format", "A:1", "--format-file", "@in.png"}, 2}));

// ---------------------------------------------------------------- format

// Colons and backslashes are escaped; --set replaces a key of the given text in any
// letter case, where it stands, and the last --set of a key wins.
TEST_F(CliTest, FormatWritesTheCompletedText)
{
    const std::pair<QStringList, std::string> calls[] = {
        {{"format", "Rotate 0 Degrees", "--set", "Key=a:b", "--set", "Other=c\\d"}, "Key:a\\:b\nOther:c\\\\d\n"},
        {{"format", "17", "--format", "Size:3\nMode:x\n", "--set", "size=5", "--set", "Extra=1", "--set", "size=7"},
         "size:7\nMode:x\nExtra:1\n"},
    };
    for (const auto& [words, expected] : calls) {
        const RunResult run = RunCli(words);
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        EXPECT_EQ(run.out.toStdString(), expected) << words.join(' ').toStdString();
    }
}

TEST_F(CliTest, FormatOutputReadsBackFromAFile)
{
    const RunResult first = RunCli({"format", "17", "--set", "Path=C:\\photos", "--set", "Ratio=4:3"});
    ASSERT_EQ(first.exitCode, 0) << Describe(first);
    ASSERT_TRUE(WriteBytes(PathOf("params.txt"), first.out));
    const RunResult second = RunCli({"format", "17", "--format-file", PathOf("params.txt")});
    ASSERT_EQ(second.exitCode, 0) << Describe(second);
    EXPECT_EQ(second.out, first.out);
}

// ---------------------------------------------------------------- help

TEST_F(CliTest, HelpPrintsTheUsageOnStandardOutput)
{
    for (const char* word : {"help", "--help", "-h"}) {
        const RunResult run = RunCli({word});
        EXPECT_EQ(run.exitCode, 0) << Describe(run);
        EXPECT_TRUE(run.out.startsWith("usage: basicfilters")) << Describe(run);
        EXPECT_TRUE(run.err.isEmpty()) << Describe(run);
    }
}

} // namespace
