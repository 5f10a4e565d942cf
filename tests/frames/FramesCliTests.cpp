// Frames through the command-line tool: the type named in any letter case, the
// default type, and which edge of the picture gets the darkened band. Pixels are
// worked out from the blending rules; the PNG keeps them exactly.

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

TEST_F(FramesCli, TheSingleFrameNamedInLowerCaseWithItsStartValues)
{
    // t = trunc(30 / 100 * 25 * 0.5) = 3; grey 123 at 0.4 on (200, 100, 50) gives
    // (169, 109, 79) at the sides and at 0.8 in the corners (138, 118, 108).
    const QImage framed = Apply({"NameOfTheFrame=singleframename"});
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(At(framed, 0, 0), Pixel(138, 118, 108));
    EXPECT_EQ(At(framed, 2, 15), Pixel(169, 109, 79));
    EXPECT_EQ(At(framed, 20, 29), Pixel(169, 109, 79));
    EXPECT_EQ(At(framed, 3, 3), Pixel(200, 100, 50));
}

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

TEST_F(FramesCli, TheDoubleFrameWithItsInnerBandInPureColour)
{
    // T = trunc(30 / 100 * 100 * 0.5) = 15, I = trunc(0.15 * 40) = 6, o = 9; intensity 70
    // gives the inner band 1.05 capped at 1: pure red (colour value 255).
    const QImage framed = Apply({"NameOfTheFrame=DOUBLEFRAMENAME", "OuterFrameThick=100", "InnerFrameThick=40",
                                 "DblFrameIntensity=70", "DblFrameColor=255"});
    ASSERT_FALSE(framed.isNull());
    // Rows 9..20 lie in the inner band whole; in row 3 columns 9..14 cross the outer band.
    EXPECT_EQ(At(framed, 20, 15), Pixel(255, 0, 0));
    EXPECT_EQ(At(framed, 9, 3), Pixel(255, 0, 0));
    EXPECT_EQ(At(framed, 14, 3), Pixel(255, 0, 0));
    EXPECT_EQ(At(framed, 8, 3), Covered(Pixel(200, 100, 50), 255, 0.7));
    EXPECT_EQ(At(framed, 20, 3), Covered(Pixel(200, 100, 50), 255, 0.7));
}
