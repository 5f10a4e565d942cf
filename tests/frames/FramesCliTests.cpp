// Frames through the command-line tool: the default type, and which edge of the
// picture gets the darkened band, which only a file read from the top shows. The
// other types' pixels and the names in any letter case belong to the filter's tests.

#include "tests/CliRunner.h"
#include "tests/frames/FrameTestSupport.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace frames_test;

namespace {

class FramesCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(QColor(200, 100, 50));
        ASSERT_TRUE(picture.save(PathOf("in.png")));
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    // The framed picture, rows from the top; null when the tool failed.
    QImage Apply(const QStringList& settings)
    {
        QStringList arguments{"apply", "Frames", PathOf("in.png"), PathOf("out.png"), "-q"};
        for (const QString& setting : settings) arguments << "--set" << setting;
        const RunResult run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.exitCode == 0 ? QImage(PathOf("out.png")).convertToFormat(QImage::Format_RGB32) : QImage();
    }

    static uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

    QTemporaryDir m_directory;
};

} // namespace

TEST_F(FramesCli, TheFadingFrameDarkensTheBandAtTheBottomOfThePicture)
{
    // Intensity 80 from outer to inner: the outermost rows are the pure colours, the
    // first band in memory (the picture's bottom row) with red and green 55 lower.
    const QImage framed = Apply({"FadeFrameHorCol=" + QString::number(0x78FF8E)});
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(At(framed, 20, 29), Pixel(142 - 55, 255 - 55, 120));
    EXPECT_EQ(At(framed, 20, 0), Pixel(142, 255, 120));
    EXPECT_EQ(At(framed, 20, 15), Pixel(200, 100, 50));
}
