// Resize through the command-line tool on real files: every method up and down, a
// resolution-only change that must show in the written file, and a size the host
// cannot make.

#include "tests/CliRunner.h"

#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>

namespace {

constexpr double kMetresPerInch = 0.0254;

int DotsPerInch(int dotsPerMetre)
{
    return static_cast<int>(std::lround(dotsPerMetre * kMetresPerInch));
}

bool SamePixels(const QImage& expected, const QImage& actual)
{
    return expected.size() == actual.size() &&
           expected.convertToFormat(QImage::Format_RGB32) == actual.convertToFormat(QImage::Format_RGB32);
}

QStringList ResizeArguments(const QString& input, const QString& output, int mode, int width, int height)
{
    return {"apply", "Resize",
            input,   output,
            "--set", QStringLiteral("ResizerMode=%1").arg(mode),
            "--set", QStringLiteral("ResizerWidth=%1").arg(width),
            "--set", QStringLiteral("ResizerHeight=%1").arg(height)};
}

class ResizeCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(PhotoLikePicture().save(PathOf("photo.jpg"), "JPG", 90));
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    QTemporaryDir m_directory;
};

}  // namespace

// Each method's pixels belong to the filter's tests; here every method reaches the
// filter with the size asked for, and the written file keeps the photo's resolution.
TEST_F(ResizeCli, EveryMethodUpAndDownWritesTheAskedSize)
{
    for (int mode = 1; mode <= 5; ++mode) {
        for (const QSize size : {QSize(400, 300), QSize(333, 77)}) {
            const QString output = PathOf(QStringLiteral("out-%1-%2.png").arg(mode).arg(size.width()));
            const RunResult run =
                RunCli(ResizeArguments(PathOf("photo.jpg"), output, mode, size.width(), size.height()));
            ASSERT_EQ(run.exitCode, 0) << Describe(run);
            const QImage written = Decoded(output);
            EXPECT_EQ(written.size(), size) << "mode " << mode;
            EXPECT_EQ(DotsPerInch(written.dotsPerMeterX()), 300) << "the photo's resolution is kept";
        }
    }
}

TEST_F(ResizeCli, AResolutionOnlyChangeShowsInTheWrittenFile)
{
    const QImage photo = Decoded(PathOf("photo.jpg"));
    for (const char* name : {"out.png", "out.jpg"}) {
        const RunResult run =
            RunCli({"apply", "Resize", PathOf("photo.jpg"), PathOf(name), "--set", "ResizerMode=0", "--set",
                    "ResizerWidth=50", "--set", "ResizerResolutionX=150", "--set", "ResizerResolutionY=72"});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        const QImage written = Decoded(PathOf(name));
        EXPECT_EQ(written.size(), photo.size()) << name;
        EXPECT_EQ(DotsPerInch(written.dotsPerMeterX()), 150) << name;
        EXPECT_EQ(DotsPerInch(written.dotsPerMeterY()), 72) << name;
    }
    EXPECT_TRUE(SamePixels(photo, Decoded(PathOf("out.png")))) << "not one pixel changes";
}

TEST_F(ResizeCli, ATargetTheHostCannotMakeFails)
{
    const RunResult run = RunCli(ResizeArguments(PathOf("photo.jpg"), PathOf("out.png"), 4, 0, 10));
    EXPECT_NE(run.exitCode, 0) << Describe(run);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(PathOf("out.png")));
}
