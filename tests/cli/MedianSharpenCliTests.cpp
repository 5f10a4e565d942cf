// The switch that forces portable code, as the command-line tool inherits it. What
// Median and Sharpen make of a picture belongs to their kernel and filter tests.

#include "tests/CliRunner.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NeighbourhoodCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PhotoLikePicture().save(m_directory.filePath("photo.png")));
    }

    // Applies filter with the settings, the tool's environment added to, and reads
    // back what it wrote.
    QImage Apply(const char* filter, const QString& input, const QStringList& settings, const QStringList& environment)
    {
        const QString output = m_directory.filePath(QStringLiteral("out%1.png").arg(++m_outputs));
        QStringList arguments{QStringLiteral("apply"), QString::fromUtf8(filter), input, output};
        for (const QString& setting : settings) arguments << QStringLiteral("--set") << setting;
        const RunResult run = RunCli(arguments, environment);
        EXPECT_EQ(run.exitCode, 0) << Describe(run);
        return QImage(output);
    }

    QTemporaryDir m_directory;
    int m_outputs = 0;
};

} // namespace

// The switch that forces portable code reaches Sharpen in the tool: the edges differ,
// the inside, beyond the reach of the 11-tap kernel of sigma 2.5, does not.
TEST_F(NeighbourhoodCli, PortablePathAgreesInsideAndDiffersAtTheEdges)
{
    const QStringList settings{"SharpenActivePage=GaussianBlur", "GaussianBlurSize=2.5"};
    const QString photo = m_directory.filePath("photo.png");
    const QImage fixed = Apply("Sharpen", photo, settings, {"BASICFILTERS_PORTABLE=0"});
    const QImage portable = Apply("Sharpen", photo, settings, {"BASICFILTERS_PORTABLE=1"});
    ASSERT_EQ(fixed.size(), portable.size());
    constexpr int kReach = 5;
    int edgeDifferences = 0;
    for (int y = 0; y < fixed.height(); ++y) {
        for (int x = 0; x < fixed.width(); ++x) {
            const bool same = fixed.pixel(x, y) == portable.pixel(x, y);
            if (x >= kReach && y >= kReach && x < fixed.width() - kReach && y < fixed.height() - kReach) {
                ASSERT_TRUE(same) << x << "," << y;
            }
            edgeDifferences += same ? 0 : 1;
        }
    }
    EXPECT_GT(edgeDifferences, 0);
}
