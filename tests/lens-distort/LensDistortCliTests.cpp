// Lens Distort through the command-line tool on the bundled home photo, as a user
// runs it, held pixel by pixel to the plain reference of the rules.

#include "tests/CliRunner.h"
#include "tests/lens-distort/LensDistortReference.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage HomePhoto()
{
    QImageReader reader(QStringLiteral(BF_SOURCE_DIR "/samples/home.jpg"));
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// The colours only, rows turned so that row 0 is the bottom, as the filter sees them.
lens_reference::Picture SectionOf(const QImage& image)
{
    lens_reference::Picture picture{image.width(), image.height(), {}};
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) picture.pixels.push_back(row[x] & 0x00FFFFFFu);
    }
    return picture;
}

} // namespace

TEST(LensDistortCli, BarrelAndPincushionOnTheHomePhotoFollowTheRules)
{
    const QImage photo = HomePhoto();
    ASSERT_FALSE(photo.isNull());
    const lens_reference::Picture source = SectionOf(photo);
    QTemporaryDir dir;
    for (const auto& [setting, k] : {std::pair{"DistortValue=0.08", 0.08}, std::pair{"DistortValue=-0.1", -0.1}}) {
        const QString output = dir.filePath(QStringLiteral("out.png"));
        const RunResult run = RunCli({QStringLiteral("apply"), QStringLiteral("Lens Distort"),
                                      QStringLiteral(BF_SOURCE_DIR "/samples/home.jpg"), output,
                                      QStringLiteral("--set"), QString::fromLatin1(setting)});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        const QImage written = QImage(output).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(written.size(), photo.size());
        const lens_reference::Picture expected = lens_reference::Distorted(source, k);
        const lens_reference::Picture got = SectionOf(written);
        int differing = 0;
        for (size_t i = 0; i < got.pixels.size(); ++i) differing += (got.pixels[i] & 0x00FFFFFFu) != (expected.pixels[i] & 0x00FFFFFFu);
        EXPECT_EQ(differing, 0) << setting;
        EXPECT_NE(got.pixels, source.pixels) << setting << ": the photo changed";
    }
}

TEST(LensDistortCli, HelpNamesTheCoefficientAndItsRange)
{
    const RunResult run = RunCli({QStringLiteral("help"), QStringLiteral("Lens Distort")});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QStringLiteral("DistortValue"))) << Describe(run);
    EXPECT_TRUE(text.contains(QStringLiteral("-0.1"))) << Describe(run);
}
