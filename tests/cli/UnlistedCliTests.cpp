// The command-line tool and the filters outside the module's enumerator: the list
// shows them after the twenty and says they are outside it, and Red Eye Reduction
// runs on the rectangle given with --selection. Which pixels it paints belongs to
// RedEyeKernel and RedEyeFilter; how --selection reaches a filter to PreviewShapeCli.

#include "tests/CliRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kListedCount = 20;
const QRgb kSkin = qRgb(205, 160, 130);
const QRgb kIris = qRgb(90, 70, 60);
const QRgb kRedPupil = qRgb(230, 40, 35);

// A 60 x 40 face-coloured picture with a dark iris around a red pupil, centred at
// (30, 20) as seen: pupil radius 4, iris radius 7.
QImage PictureWithARedEye()
{
    QImage picture(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const int d2 = (x - 30) * (x - 30) + (y - 20) * (y - 20);
            picture.setPixel(x, y, d2 <= 16 ? kRedPupil : d2 <= 49 ? kIris : kSkin);
        }
    }
    return picture;
}

class UnlistedCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }
    QString PathOf(const QString& name) const { return m_directory.filePath(name); }
    QTemporaryDir m_directory;
};

} // namespace

TEST_F(UnlistedCli, ListShowsRedEyeAndFramesAfterTheTwentyMarkedAsOutsideTheEnumerator)
{
    const RunResult run = RunCli({"list"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + kListedCount + 2) << Describe(run);
    for (int i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].contains(QLatin1String("not in the enumerator")), i > kListedCount) << lines[i].toStdString();
    }
    const QString unlisted = lines[kListedCount + 1] + lines[kListedCount + 2];
    EXPECT_TRUE(unlisted.contains(QLatin1String("Red Eye Reduction"))) << unlisted.toStdString();
    EXPECT_TRUE(unlisted.contains(QLatin1String("Frames"))) << unlisted.toStdString();

    const RunResult json = RunCli({"list", "--json"});
    ASSERT_EQ(json.exitCode, 0) << Describe(json);
    const QJsonArray filters = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(filters.size(), kListedCount + 2);
    for (int i = 0; i < filters.size(); ++i) {
        const QJsonObject filter = filters[i].toObject();
        ASSERT_TRUE(filter["listed"].isBool()) << i;
        EXPECT_EQ(filter["listed"].toBool(), i < kListedCount) << filter["name"].toString().toStdString();
        if (filter["name"].toString() == QLatin1String("Red Eye Reduction")) {
            EXPECT_EQ(filter["kind"].toString(), QLatin1String("interactive"));
            EXPECT_EQ(filter["drawn"].toObject()["option"].toString(), QLatin1String("--selection"));
            EXPECT_TRUE(filter["drawn"].toObject()["required"].toBool());
        }
    }
}

TEST_F(UnlistedCli, RedEyeReductionReadsAndWritesJpeg)
{
    ASSERT_TRUE(PictureWithARedEye().save(PathOf("in.jpg"), "JPG", 95));
    const RunResult run = RunCli({"apply", "Red Eye Reduction", PathOf("in.jpg"), PathOf("out.jpg"), "--selection",
                                  "20,10,41,31", "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    const QImage written(PathOf("out.jpg"));
    ASSERT_FALSE(written.isNull());
    EXPECT_LT(qRed(written.pixel(30, 20)), 40) << "the pupil's middle went dark";
    EXPECT_GT(qRed(written.pixel(5, 5)), 180) << "the skin stayed";
}
