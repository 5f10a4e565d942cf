// Flips and turns of a real photo through the command-line tool: turning four times
// or flipping twice must give back every pixel.

#include "tests/CliRunner.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The bundled sample, decoded once and kept lossless from there on.
QString SamplePhotoAsPng(const QTemporaryDir& dir)
{
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    QImage photo(QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg"));
    EXPECT_FALSE(photo.isNull());
    photo.save(png);
    return png;
}

// Applies filter to input `times` times in a row; answers the last output.
QString ApplyRepeatedly(const QTemporaryDir& dir, const QString& filter, const QString& input, int times)
{
    QString current = input;
    for (int i = 0; i < times; ++i) {
        const QString next = dir.filePath(QStringLiteral("step%1.png").arg(i));
        const RunResult run = RunCli({QStringLiteral("apply"), filter, current, next, QStringLiteral("--quiet")});
        EXPECT_EQ(run.exitCode, 0) << Describe(run);
        current = next;
    }
    return current;
}

} // namespace

TEST(GeometryCli, FourClockwiseTurnsGiveBackThePhoto)
{
    QTemporaryDir dir;
    const QString photo = SamplePhotoAsPng(dir);
    const QString once = ApplyRepeatedly(dir, QStringLiteral("Rotate 90 Degrees Clockwise"), photo, 1);
    const QImage original = Pixels(photo);
    const QImage turned = Pixels(once);
    ASSERT_EQ(turned.size(), original.size().transposed());
    // As a person sees it: the left column, read from the bottom, becomes the top row.
    EXPECT_EQ(turned.pixel(0, 0), original.pixel(0, original.height() - 1));
    EXPECT_EQ(turned.pixel(turned.width() - 1, 0), original.pixel(0, 0));

    const QString four = ApplyRepeatedly(dir, QStringLiteral("Rotate\\Rotate 90 Degrees Clockwise"), photo, 4);
    EXPECT_EQ(Pixels(four), original);
}

TEST(GeometryCli, FlippingTwiceGivesBackThePhoto)
{
    QTemporaryDir dir;
    const QString photo = SamplePhotoAsPng(dir);
    const QImage original = Pixels(photo);
    for (const QString& filter : {QStringLiteral("Flip Horizontal"), QStringLiteral("Flip Vertical")}) {
        const QImage once = Pixels(ApplyRepeatedly(dir, filter, photo, 1));
        const bool horizontal = filter.contains(QStringLiteral("Horizontal"));
        EXPECT_EQ(once.pixel(0, 0), horizontal ? original.pixel(original.width() - 1, 0)
                                               : original.pixel(0, original.height() - 1));
        EXPECT_EQ(Pixels(ApplyRepeatedly(dir, filter, photo, 2)), original) << filter.toStdString();
    }
}

TEST(GeometryCli, CounterclockwiseUndoesClockwise)
{
    QTemporaryDir dir;
    const QString photo = SamplePhotoAsPng(dir);
    const QString turned = ApplyRepeatedly(dir, QStringLiteral("3"), photo, 1);
    const QString back = dir.filePath(QStringLiteral("back.png"));
    const RunResult run =
        RunCli({QStringLiteral("apply"), QStringLiteral("Rotate 90 Degrees Counterclockwise"), turned, back});
    ASSERT_EQ(run.exitCode, 0) << Describe(run);
    EXPECT_EQ(Pixels(back), Pixels(photo));
}
