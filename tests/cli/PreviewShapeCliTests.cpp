// The rectangle and the line a user would draw on the editor's preview, given on the
// command line: they reach the filters in picture pixels with y from the top, the
// options a filter does not read are refused, and detect-angle says which turn
// straightens a photo.

#include "tests/CliRunner.h"
#include "tests/TiltedLines.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Every pixel different, so that any shift or flip of a crop shows.
QImage NumberedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 5, y * 7, (x + y) % 256));
    }
    return picture;
}

class PreviewShapeCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        ASSERT_TRUE(NumberedPicture(40, 30).save(PathOf("in.png")));
    }

    QString PathOf(const QString& name) const { return m_directory.filePath(name); }

    RunResult Crop(const QString& selection, const QString& output)
    {
        return RunCli({"apply", "Crop", PathOf("in.png"), output, "--selection", selection, "--quiet"});
    }

    QTemporaryDir m_directory;
};

} // namespace

TEST_F(PreviewShapeCli, ASelectionCropsThosePicturePixelsCountedFromTheTopLeft)
{
    const QImage input = Pixels(PathOf("in.png"));
    struct Case {
        const char* selection;
        QRect kept;  // right and bottom exclusive in the selection, inclusive here
    };
    for (const Case& c : {Case{"0,0,20,15", QRect(0, 0, 20, 15)},
                          Case{"20 15 0 0", QRect(0, 0, 20, 15)},         // corners given the other way round
                          Case{"5,10,12,28", QRect(5, 10, 7, 18)},
                          Case{"30,20,100,100", QRect(30, 20, 10, 10)},  // partly outside: clipped
                          Case{"-10,-5,8,6", QRect(0, 0, 8, 6)}}) {
        const QString output = PathOf("cropped.png");
        QFile::remove(output);
        const RunResult run = Crop(QString::fromLatin1(c.selection), output);
        ASSERT_EQ(run.exitCode, 0) << c.selection << Describe(run);
        EXPECT_EQ(Pixels(output), input.copy(c.kept)) << c.selection;
    }
}

TEST_F(PreviewShapeCli, CropWithoutAUsableSelectionFailsAndWritesNothing)
{
    const QString output = PathOf("out.png");
    const RunResult none = RunCli({"apply", "Crop", PathOf("in.png"), output});
    EXPECT_EQ(none.exitCode, 1) << Describe(none);
    EXPECT_TRUE(none.err.contains("--selection LEFT,TOP,RIGHT,BOTTOM")) << Describe(none);

    for (const char* empty : {"5,5,5,20", "50,40,60,45"}) {  // no width; wholly outside
        const RunResult run = Crop(QString::fromLatin1(empty), output);
        EXPECT_EQ(run.exitCode, 1) << empty << Describe(run);
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(output));
}

TEST_F(PreviewShapeCli, OptionsAFilterDoesNotReadAreRefusedBeforeAnythingIsWritten)
{
    const QString output = PathOf("out.png");
    struct Case {
        QStringList words;
        const char* said;
    };
    for (const Case& c : {
             Case{{"apply", "Rotate", PathOf("in.png"), output, "--selection", "1,2,3,4"},
                  "reads --line X1,Y1,X2,Y2, not --selection"},
             Case{{"apply", "Crop", PathOf("in.png"), output, "--line", "1,2,3,4"},
                  "reads --selection LEFT,TOP,RIGHT,BOTTOM, not --line"},
             Case{{"apply", "Median", PathOf("in.png"), output, "--selection", "1,2,3,4"}, "leave out --selection"},
             Case{{"apply", "Flip Horizontal", PathOf("in.png"), output, "--line", "1,2,3,4"}, "leave out --line"},
         }) {
        const RunResult run = RunCli(c.words);
        EXPECT_EQ(run.exitCode, 2) << c.words.join(' ').toStdString() << Describe(run);
        EXPECT_TRUE(run.err.contains(c.said)) << Describe(run);
    }
    for (const char* bad : {"1,2,3", "1,2,3,x", "", "1,2,3,4,5"}) {
        const RunResult run = Crop(QString::fromLatin1(bad), output);
        EXPECT_EQ(run.exitCode, 2) << bad << Describe(run);
    }
    EXPECT_FALSE(QFile::exists(output));
}

// A line from (10, 10) to (110, 20) falls to the right on screen by atan(0.1): the
// rotation adds that much to its angle, turning the picture counter-clockwise.
TEST_F(PreviewShapeCli, ALineAddsItsTiltToTheRotation)
{
    const double tilt = std::atan(0.1) * 57.29577951308232;
    const RunResult drawn = RunCli({"apply", "Rotate", PathOf("in.png"), PathOf("drawn.png"), "--line",
                                    "10,10,110,20", "--set", "angle=2", "--quiet"});
    ASSERT_EQ(drawn.exitCode, 0) << Describe(drawn);
    const RunResult typed = RunCli({"apply", "Rotate", PathOf("in.png"), PathOf("typed.png"), "--set",
                                    "angle=" + QString::number(2 + tilt, 'f', 6), "--quiet"});
    ASSERT_EQ(typed.exitCode, 0) << Describe(typed);
    const QImage turned = Pixels(PathOf("drawn.png"));
    EXPECT_EQ(turned, Pixels(PathOf("typed.png")));
    EXPECT_GT(turned.width(), 40);

    // A line with no rise changes nothing: angle 0 hands the photo to the exact copy.
    const RunResult level = RunCli({"apply", "Rotate", PathOf("in.png"), PathOf("level.png"), "--line",
                                    "10,10,110,10", "--quiet"});
    ASSERT_EQ(level.exitCode, 0) << Describe(level);
    EXPECT_EQ(Pixels(PathOf("level.png")), Pixels(PathOf("in.png")));
}

TEST_F(PreviewShapeCli, DetectAngleGivesTheTurnThatLevelsATiltedHorizon)
{
    for (const double tilt : {3.0, -5.0}) {
        const QString photo = PathOf("tilted.png");
        ASSERT_TRUE(TiltedLines(tilt).save(photo));
        const RunResult run = RunCli({"detect-angle", photo});
        ASSERT_EQ(run.exitCode, 0) << Describe(run);
        // Levelling turns the other way: 3 degrees counter-clockwise needs 357.
        const double expected = tilt > 0 ? 360 - tilt : -tilt;
        EXPECT_NEAR(run.out.trimmed().toDouble(), expected, 0.3) << tilt << Describe(run);
        EXPECT_TRUE(run.err.contains(tilt > 0 ? "clockwise straightens it" : "counter-clockwise straightens it"))
            << Describe(run);

        const RunResult json = RunCli({"detect-angle", photo, "--json"});
        ASSERT_EQ(json.exitCode, 0) << Describe(json);
        const QJsonObject answer = QJsonDocument::fromJson(json.out).object();
        EXPECT_TRUE(answer["found"].toBool());
        EXPECT_NEAR(answer["angle"].toDouble(), expected, 0.3);
        EXPECT_NEAR(answer["turn"].toDouble(), -tilt, 0.3);
    }

    QImage plain(200, 150, QImage::Format_RGB32);
    plain.fill(qRgb(90, 120, 150));
    ASSERT_TRUE(plain.save(PathOf("plain.png")));
    const RunResult flat = RunCli({"detect-angle", PathOf("plain.png")});
    EXPECT_EQ(flat.exitCode, 0) << Describe(flat);
    EXPECT_EQ(flat.out.trimmed(), "no tilt found");
    const RunResult flatJson = RunCli({"detect-angle", PathOf("plain.png"), "--json"});
    EXPECT_FALSE(QJsonDocument::fromJson(flatJson.out).object()["found"].toBool()) << Describe(flatJson);

    const RunResult missing = RunCli({"detect-angle", PathOf("nothing.png")});
    EXPECT_EQ(missing.exitCode, 3) << Describe(missing);
    const RunResult twoPhotos = RunCli({"detect-angle", PathOf("plain.png"), PathOf("plain.png")});
    EXPECT_EQ(twoPhotos.exitCode, 2) << Describe(twoPhotos);
}

// Straightening a real photo with straight edges (a building seen from below, its
// cornices in perspective): turned 4 degrees counter-clockwise it is found turned by
// about that much more than before, and turning it back by the difference of the two
// findings leaves it close to how it was found.
TEST_F(PreviewShapeCli, DetectedAngleStraightensARealPhoto)
{
    const QString tilted = PathOf("tilted.png");
    const QString photo = QStringLiteral(BF_SOURCE_DIR "/samples/home.jpg");
    ASSERT_EQ(RunCli({"apply", "Rotate", photo, tilted, "--set", "angle=4", "--set", "croptype=1", "--quiet"}).exitCode,
              0);
    const auto turnFound = [](const QString& path) {
        const RunResult run = RunCli({"detect-angle", path, "--json"});
        EXPECT_EQ(run.exitCode, 0) << Describe(run);
        return QJsonDocument::fromJson(run.out).object()["turn"].toDouble();
    };
    const double before = turnFound(photo);
    const double after = turnFound(tilted);
    EXPECT_NEAR(after - before, -4.0, 1.5) << "before " << before << ", after " << after;

    const QString straightened = PathOf("straightened.png");
    const double back = after - before;
    ASSERT_EQ(RunCli({"apply", "Rotate", tilted, straightened, "--set",
                      "angle=" + QString::number(back < 0 ? 360 + back : back, 'f', 6), "--set", "croptype=1",
                      "--quiet"})
                  .exitCode,
              0);
    EXPECT_LT(std::abs(turnFound(straightened) - before), std::abs(after - before));
}
