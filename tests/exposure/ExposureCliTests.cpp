// Exposure through the command-line tool on the bundled photo: the numbered curve
// keys, given one per point in any letter case, and the keys the tool refuses.

#include "tests/CliRunner.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kFruits = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");

RunResult ApplyExposure(const QString& output, const QStringList& settings)
{
    QStringList arguments{QStringLiteral("apply"), QStringLiteral("Exposure"), kFruits, output};
    for (const QString& setting : settings) arguments << QStringLiteral("--set") << setting;
    return RunCli(arguments);
}

} // namespace

TEST(ExposureCli, ThreePointCurveWithNumberedKeys)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("curve.png"));
    const RunResult run = ApplyExposure(
        output, {QStringLiteral("Active=GradCurves"), QStringLiteral("NumSplinePoints=3"), QStringLiteral("X000=0"),
                 QStringLiteral("Y000=0"), QStringLiteral("X001=128"), QStringLiteral("Y001=200"),
                 QStringLiteral("x002=255"), QStringLiteral("Y002=255")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    // The worked levels of this curve; a photo shows every one of them somewhere.
    const std::map<int, int> worked{{0, 0},     {32, 58},   {64, 113}, {96, 161}, {128, 200},
                                    {160, 225}, {192, 241}, {224, 249}, {255, 255}};
    const QImage before(kFruits);
    const QImage written(output);
    ASSERT_EQ(written.size(), before.size());
    std::map<int, int> seen;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb pixel = before.pixel(x, y);
            const QRgb mapped = written.pixel(x, y);
            const std::pair<int, int> channels[] = {{qRed(pixel), qRed(mapped)},
                                                    {qGreen(pixel), qGreen(mapped)},
                                                    {qBlue(pixel), qBlue(mapped)}};
            for (const auto& [from, to] : channels) {
                if (worked.count(from) == 0) continue;
                ASSERT_EQ(to, worked.at(from)) << "level " << from;
                seen[from] = to;
            }
        }
    }
    EXPECT_GE(seen.size(), 5u);
}

TEST(ExposureCli, UnknownKeysAndBadPointNumbersAreRefused)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("never.png"));
    for (const QString& setting : {QStringLiteral("Z000=3"), QStringLiteral("X00=3"), QStringLiteral("X00a=3"),
                                   QStringLiteral("Active=Curves"), QStringLiteral("X004=high")}) {
        const RunResult run = ApplyExposure(output, {setting});
        EXPECT_EQ(run.exitCode, 2) << setting.toStdString() << "\n" << Describe(run);
    }
}
