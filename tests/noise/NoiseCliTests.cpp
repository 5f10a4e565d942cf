// The Noise filter through the command-line tool on the bundled photo: noise added
// and removed again with levels measured in the whole photo or in a --selection, and
// the measured levels printed with --print-settings so that they can be given back
// with --format-file. How added noise spreads belongs to the kernel's tests.

#include "tests/CliRunner.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr double kAmount = 0.1;

QImage Opaque(const QString& path)
{
    return Decoded(path).convertToFormat(QImage::Format_RGB32);
}

// E[n^2] of the offsets the rule gives at amount, each of the 32768 draws once.
double OffsetVariance(double amount)
{
    double sum = 0.0;
    for (int u = 0; u <= 32767; ++u) {
        const int n = static_cast<int>((u / 32767.0 - 0.5) * -255.0 * amount);
        sum += static_cast<double>(n) * n;
    }
    return sum / 32768.0;
}

double MeanSquaredDifference(const QImage& a, const QImage& b)
{
    double sum = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) sum += d * d;
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// The three levels of a printed parameter text, in the order red, green, blue.
std::array<int, 3> PrintedLevels(const QByteArray& text)
{
    std::array<int, 3> levels{-1, -1, -1};
    for (const QByteArray& line : text.split('\n')) {
        for (int channel = 0; channel < 3; ++channel) {
            const QByteArray key = "NoiseValueVar" + QByteArray::number(channel + 1) + ':';
            if (line.startsWith(key)) levels[static_cast<size_t>(channel)] = line.mid(key.size()).toInt();
        }
    }
    return levels;
}

class NoiseCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    RunResult Remove(const QString& input, const QString& output, const QStringList& more = {})
    {
        return RunCli(QStringList{"apply", "Noise", input, output, "--set", "NoiseActivePage=RemoveNoisePage",
                                  "--print-settings", "--quiet"} +
                      more);
    }

    QTemporaryDir m_directory;
};

const QString kPhoto = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");

} // namespace

// Noise that does not depend on the picture adds its variance to the picture's own:
// the levels measured in the noisy photo exceed those of the photo by about the
// variance of the offsets. The result is nearer the photo than the noisy one; the
// printed text given back measures nothing and prints itself.
TEST_F(NoiseCli, RemovingNoisePrintsTheMeasuredLevelsForReuse)
{
    ASSERT_EQ(RunCli({"apply", "Noise", kPhoto, PathOf("noisy.png"), "--set", "NoiseActivePage=AddNoisePage", "--set",
                      "AddNoiseAmount=0.1", "--quiet"})
                  .exitCode,
              0);
    const RunResult own = Remove(kPhoto, PathOf("photo.png"));
    ASSERT_EQ(own.exitCode, 0) << Describe(own);
    const RunResult run = Remove(PathOf("noisy.png"), PathOf("clean.png"));
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const std::array<int, 3> photoLevels = PrintedLevels(own.out);
    const std::array<int, 3> levels = PrintedLevels(run.out);
    const double added = OffsetVariance(kAmount);
    for (size_t channel = 0; channel < 3; ++channel) {
        EXPECT_GT(photoLevels[channel], 0) << own.out.toStdString();
        EXPECT_NEAR(levels[channel] - photoLevels[channel], added, 0.25 * added)
            << own.out.toStdString() << run.out.toStdString();
    }
    EXPECT_TRUE(run.out.startsWith("NoiseActivePage:RemoveNoisePage\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("\nNoiseFilterSize:3\n")) << run.out.toStdString();

    const QImage photo = Opaque(kPhoto);
    EXPECT_LT(MeanSquaredDifference(Opaque(PathOf("clean.png")), photo),
              0.6 * MeanSquaredDifference(Opaque(PathOf("noisy.png")), photo));

    QFile kept(PathOf("levels.txt"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write(run.out);
    kept.close();
    const RunResult again = RunCli({"apply", "Noise", PathOf("noisy.png"), PathOf("again.png"), "--format-file",
                                    PathOf("levels.txt"), "--print-settings", "--quiet"});
    ASSERT_EQ(again.exitCode, 0) << Describe(again);
    EXPECT_EQ(again.out, run.out);
}

// Noise all over the photo but its upper left corner: a selection inside the corner
// measures only its pixels, so it finds what it finds there in the photo itself;
// without one the noise is measured. Corners in either order belong to
// NoiseFilterRemoving.ASelectionIsTheRegionTheLevelsAreMeasuredIn.
TEST_F(NoiseCli, ASelectionIsWhereTheLevelsAreMeasured)
{
    const QImage clean = Opaque(kPhoto);
    QImage photo = clean;
    uint32_t state = 88172645u;
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            if (x < 240 && y < 200) continue;
            const QRgb pixel = photo.pixel(x, y);
            std::array<int, 3> channels{qRed(pixel), qGreen(pixel), qBlue(pixel)};
            for (int& channel : channels) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                channel = Clamped(channel + static_cast<int>(state % 21) - 10);
            }
            photo.setPixel(x, y, qRgb(channels[0], channels[1], channels[2]));
        }
    }
    ASSERT_TRUE(photo.save(PathOf("noisy.png")));
    ASSERT_TRUE(clean.save(PathOf("clean.png")));

    const RunResult selected = Remove(PathOf("noisy.png"), PathOf("a.png"), {"--selection", "20,20,220,180"});
    ASSERT_EQ(selected.exitCode, 0) << Describe(selected);
    const RunResult inClean = Remove(PathOf("clean.png"), PathOf("b.png"), {"--selection", "20,20,220,180"});
    ASSERT_EQ(inClean.exitCode, 0) << Describe(inClean);
    EXPECT_EQ(selected.out, inClean.out);

    const RunResult whole = Remove(PathOf("noisy.png"), PathOf("d.png"));
    ASSERT_EQ(whole.exitCode, 0) << Describe(whole);
    const std::array<int, 3> inSelection = PrintedLevels(selected.out);
    const std::array<int, 3> inWhole = PrintedLevels(whole.out);
    // Uniform noise of -10 to 10 has the variance 10 x 11 / 3.
    for (size_t channel = 0; channel < 3; ++channel) {
        EXPECT_GE(inWhole[channel], inSelection[channel] + 0.5 * 110 / 3)
            << selected.out.toStdString() << whole.out.toStdString();
    }
}

TEST_F(NoiseCli, PrintSettingsIsInTheUsageAndPrintsNothingForAFailedApply)
{
    EXPECT_TRUE(RunCli({"help"}).out.contains("--print-settings"));
    const RunResult failed = RunCli({"apply", "Noise", kPhoto, PathOf("out.png"), "--set",
                                     "NoiseActivePage=AddNoisePage", "--format", "AddNoiseAmount:x\n",
                                     "--print-settings", "--quiet"});
    EXPECT_NE(failed.exitCode, 0) << Describe(failed);
    EXPECT_TRUE(failed.out.isEmpty()) << Describe(failed);
    EXPECT_FALSE(QFile::exists(PathOf("out.png")));
}
