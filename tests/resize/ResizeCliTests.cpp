// Resize through the command-line tool on real files: every method up and down on a
// generated photo, a bundled real photo, and a resolution-only change that must show
// in the written file. The expected pixels come from the resampler and the host's
// resize run in this process on the same decoded picture.

#include "tests/CliRunner.h"

#include "filters/resize/ResizeKernelPlane.h"
#include "platform/ComPtr.h"
#include "refhost/ImageConversion.h"

#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>

namespace {

constexpr double kMetresPerInch = 0.0254;

QImage Decoded(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

int DotsPerInch(int dotsPerMetre)
{
    return static_cast<int>(std::lround(dotsPerMetre * kMetresPerInch));
}

// What the filter computes for the picture, found without the tool.
QImage ExpectedResize(const QImage& picture, int mode, int width, int height)
{
    auto source = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (mode <= 2) {
        CComPtr<IUnknown> resized;
        EXPECT_TRUE(source->Resize(width, height, resized.Receive(), mode == 1 ? 3 : 4, 0));
        return QImageFromImage(CComPtr<IImage>::Query(resized.Get(), IID_IImage).Get(), false);
    }
    ResizeKernel kernel = nullptr;
    int radius = 0;
    EXPECT_TRUE(KernelOfMode(mode, kernel, radius));
    auto result = CComPtr<CHostImage>::Adopt(CHostImage::Create(width, height));
    CPlaneResizer resizer;
    EXPECT_TRUE(resizer.Init(static_cast<uint32_t>(picture.width()), static_cast<uint32_t>(picture.height()),
                             static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                             static_cast<uint32_t>(source->GetStride()), static_cast<uint32_t>(result->GetStride()),
                             kernel, radius, 32));
    resizer.Run(result->GetPixels(), source->GetPixels(), nullptr);
    return QImageFromImage(static_cast<IImage*>(result.Get()), false);
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

TEST_F(ResizeCli, EveryMethodUpAndDownGivesTheFiltersPixels)
{
    const QImage photo = Decoded(PathOf("photo.jpg"));
    ASSERT_EQ(photo.size(), QSize(200, 150));
    for (int mode = 1; mode <= 5; ++mode) {
        for (const QSize size : {QSize(400, 300), QSize(50, 37), QSize(333, 77)}) {
            const QString output = PathOf(QStringLiteral("out-%1-%2.png").arg(mode).arg(size.width()));
            const RunResult run =
                RunCli(ResizeArguments(PathOf("photo.jpg"), output, mode, size.width(), size.height()));
            ASSERT_EQ(run.exitCode, 0) << Describe(run);
            const QImage written = Decoded(output);
            EXPECT_EQ(written.size(), size) << "mode " << mode;
            EXPECT_TRUE(SamePixels(ExpectedResize(photo, mode, size.width(), size.height()), written))
                << "mode " << mode << ", " << size.width() << "x" << size.height();
            EXPECT_EQ(DotsPerInch(written.dotsPerMeterX()), 300) << "the photo's resolution is kept";
        }
    }
}

TEST_F(ResizeCli, ARealPhotoHalvedAndDoubledWithLanczos)
{
    const QString bundled = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
    const QImage photo = Decoded(bundled);
    ASSERT_FALSE(photo.isNull());
    for (const QSize size : {photo.size() / 2, photo.size() * 2}) {
        const QString output = PathOf(QStringLiteral("fruits-%1.jpg").arg(size.width()));
        const RunResult run = RunCli(ResizeArguments(bundled, output, 5, size.width(), size.height()));
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        const QImage written = Decoded(output);
        ASSERT_EQ(written.size(), size);
        // The written file is a JPEG: compare what a viewer sees, within its loss.
        const QImage expected = ExpectedResize(photo, 5, size.width(), size.height());
        double error = 0.0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                error += std::abs(qGray(expected.pixel(x, y)) - qGray(written.pixel(x, y)));
        }
        EXPECT_LT(error / (size.width() * size.height()), 3.0) << "mean grey difference";
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
