// Lens Distort's help through the command-line tool: the coefficient and its range.
// Its pixels belong to the kernel and filter tests.

#include "tests/CliRunner.h"

#include <gtest/gtest.h>

TEST(LensDistortCli, HelpNamesTheCoefficientAndItsRange)
{
    const RunResult run = RunCli({QStringLiteral("help"), QStringLiteral("Lens Distort")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QStringLiteral("DistortValue"))) << Describe(run);
    EXPECT_TRUE(text.contains(QStringLiteral("-0.1"))) << Describe(run);
}
