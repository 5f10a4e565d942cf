// Color Balance's help through the command-line tool: both pages with their ranges
// and keys. Its pixels belong to the kernel and filter tests.

#include "tests/CliRunner.h"

#include <gtest/gtest.h>

TEST(ColorBalanceCli, HelpNamesBothModesAndTheirKeys)
{
    const RunResult run = RunCli({QStringLiteral("help"), QStringLiteral("Color Balance")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QStringLiteral("page: RGB or HSL, default RGB"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" with active=RGB:"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" with active=HSL:"))) << text.toStdString();
    for (const char* key : {"red", "green", "blue", "hue", "saturation", "lightness"}) {
        EXPECT_TRUE(text.contains(QStringLiteral("  %1 ").arg(QLatin1String(key)))) << key;
    }
}
