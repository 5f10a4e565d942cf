// Brightness and contrast through the command-line tool on a real picture.

#include "filters/brightness-contrast/BrightnessContrastKernel.h"
#include "tests/CliRunner.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

TEST(ToneCli, BrightnessAndContrastFromSettings)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("in.png"));
    const QString output = dir.filePath(QStringLiteral("out.png"));
    const QImage picture = PhotoLikePicture();
    ASSERT_TRUE(picture.save(input));
    const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("Brightness and Contrast"), input, output,
                            QStringLiteral("--set"), QStringLiteral("BrightnessValue=20"), QStringLiteral("--set"),
                            QStringLiteral("ContrastValue=1.5")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);

    std::array<uint8_t, 256> table{};
    BuildBrightnessContrastTable(20.0, 1.5, table.data());
    const QImage written(output);
    ASSERT_EQ(written.size(), picture.size());
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 5) {
            const QRgb before = picture.pixel(x, y);
            EXPECT_EQ(written.pixel(x, y), qRgb(table[static_cast<size_t>(qRed(before))],
                                                table[static_cast<size_t>(qGreen(before))],
                                                table[static_cast<size_t>(qBlue(before))]))
                << x << "," << y;
        }
    }
}

// Without settings the tool hands the dialog's start values, brightness 0 and contrast
// 1, which keep every level.
TEST(ToneCli, WithoutSettingsTheDialogsStartKeepsThePicture)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("in.png"));
    const QString output = dir.filePath(QStringLiteral("o.png"));
    const QImage picture = PhotoLikePicture();
    ASSERT_TRUE(picture.save(input));
    const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("12"), input, output});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("using the defaults"))) << Describe(run);
    const QImage written(output);
    ASSERT_EQ(written.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) ASSERT_EQ(written.pixel(x, y), picture.pixel(x, y)) << x << "," << y;
    }
}
