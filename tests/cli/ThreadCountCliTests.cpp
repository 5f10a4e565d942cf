// The kernel threads seen from outside: every filter the tool offers, with the
// settings it starts from, writes the same pixels whether BASICFILTERS_THREADS is 1,
// 2 or 3, on a picture of odd width and height, so that the bands of rows fall
// differently each time.

#include "tests/CliRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

TEST(ThreadCountCli, EveryFilterWritesTheSamePixelsOnOneTwoAndThreeThreads)
{
    QTemporaryDir directory;
    const QString input = directory.filePath(QStringLiteral("in.png"));
    ASSERT_TRUE(PhotoLikePicture().copy(0, 0, 197, 143).save(input));
    const RunResult listed = RunCli({QStringLiteral("list"), QStringLiteral("--json")});
    ASSERT_EQ(listed.exitCode, 0) << Describe(listed);
    const QJsonArray filters = QJsonDocument::fromJson(listed.out).array();
    ASSERT_EQ(filters.size(), 22);
    for (const QJsonValue& entry : filters) {
        const QJsonObject filter = entry.toObject();
        const QString name = filter[QStringLiteral("name")].toString();
        QStringList arguments{QStringLiteral("apply"), name, input, QString(), QStringLiteral("--quiet")};
        // The shapes the filters that read one need (Crop, Red Eye Reduction) or take
        // (Rotate's line, Noise's measuring region).
        const QString option = filter[QStringLiteral("drawn")].toObject()[QStringLiteral("option")].toString();
        if (option == QStringLiteral("--selection")) arguments << option << QStringLiteral("20,15,150,120");
        if (option == QStringLiteral("--line")) arguments << option << QStringLiteral("10,20,180,31");
        QImage oneThread;
        for (const int threads : {1, 2, 3}) {
            arguments[3] = directory.filePath(QStringLiteral("out%1.png").arg(threads));
            const RunResult run = RunCli(arguments, {QStringLiteral("BASICFILTERS_THREADS=%1").arg(threads)});
            ASSERT_EQ(run.exitCode, 0) << name.toStdString() << ", " << threads << " threads\n" << Describe(run);
            const QImage written = QImage(arguments[3]).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(written.isNull()) << name.toStdString();
            if (threads == 1) {
                oneThread = written;
            } else {
                EXPECT_EQ(written, oneThread) << name.toStdString() << ", " << threads << " threads";
            }
        }
    }
}
