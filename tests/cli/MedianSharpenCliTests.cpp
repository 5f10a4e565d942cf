// Median and Sharpen through the command-line tool on real pictures: a generated
// photo and, where it is bundled, the sample photo.

#include "tests/CliRunner.h"
#include "tests/median/MedianReference.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The colours of a picture, row by row; the order of the rows does not matter to
// filters that treat up and down alike.
std::vector<uint32_t> RgbOf(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) pixels.push_back(rgb.pixel(x, y) & 0x00FFFFFFu);
    }
    return pixels;
}

// How much neighbouring pixels differ on average: blurring lowers it, sharpening raises it.
double Detail(const QImage& image)
{
    double sum = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x) {
            const QRgb a = image.pixel(x - 1, y);
            const QRgb b = image.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    }
    return sum / (image.width() * image.height());
}

class NeighbourhoodCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PhotoLikePicture().save(m_directory.filePath("photo.png")));
        m_inputs << m_directory.filePath("photo.png");
        const QString bundled = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
        if (QFileInfo::exists(bundled)) m_inputs << bundled;
    }

    // Applies filter with the settings and reads back what it wrote.
    QImage Apply(const char* filter, const QString& input, const QStringList& settings)
    {
        const QString output = m_directory.filePath(QStringLiteral("out%1.png").arg(++m_outputs));
        QStringList arguments{QStringLiteral("apply"), QString::fromUtf8(filter), input, output};
        for (const QString& setting : settings) arguments << QStringLiteral("--set") << setting;
        const RunResult run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << Describe(run);
        return QImage(output);
    }

    QTemporaryDir m_directory;
    QStringList m_inputs;
    int m_outputs = 0;
};

} // namespace

TEST_F(NeighbourhoodCli, MedianOfAPhotoFollowsTheRule)
{
    for (const QString& input : m_inputs) {
        const QImage picture(input);
        for (const int radius : {1, 3}) {
            std::vector<uint32_t> expected = ReferenceMedian(RgbOf(picture), picture.width(), picture.height(), radius);
            for (uint32_t& key : expected) key &= 0x00FFFFFFu;
            EXPECT_TRUE(RgbOf(Apply("Median", input, {QStringLiteral("MedianSize=%1").arg(radius)})) == expected)
                << input.toStdString() << " radius " << radius;
        }
    }
}

TEST_F(NeighbourhoodCli, BlurSoftensAndTheUnsharpMaskSharpens)
{
    for (const QString& input : m_inputs) {
        const double detail = Detail(QImage(input));
        EXPECT_LT(Detail(Apply("Sharpen", input, {"SharpenActivePage=GaussianBlur", "GaussianBlurSize=2.5"})),
                  0.8 * detail)
            << input.toStdString();
        EXPECT_GT(Detail(Apply("Sharpen", input,
                               {"SharpenActivePage=UnsharpMask", "UnsharpMaskSize=2.5", "UnsharpMaskAmount=0.8",
                                "UnsharpMaskThreshold=4"})),
                  1.1 * detail)
            << input.toStdString();
    }
}

// The switch that forces portable code reaches Sharpen in the tool: the edges differ,
// the inside, beyond the reach of the 11-tap kernel of sigma 2.5, does not.
TEST_F(NeighbourhoodCli, PortablePathAgreesInsideAndDiffersAtTheEdges)
{
    const QStringList settings{"SharpenActivePage=GaussianBlur", "GaussianBlurSize=2.5"};
    // The tool inherits the switch; whatever this process was given is put back after.
    const QByteArray given = qgetenv("BASICFILTERS_PORTABLE");
    const auto applyWith = [&](const char* portableCode) {
        qputenv("BASICFILTERS_PORTABLE", portableCode);
        return Apply("Sharpen", m_inputs.front(), settings);
    };
    const QImage fixed = applyWith("0");
    const QImage portable = applyWith("1");
    if (given.isNull()) qunsetenv("BASICFILTERS_PORTABLE");
    else qputenv("BASICFILTERS_PORTABLE", given);
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
