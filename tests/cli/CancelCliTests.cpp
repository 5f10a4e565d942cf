// Ctrl-C during a long apply: the filter is stopped through its progress sink, the
// user reads advice rather than a status code, and no output file appears.

#include "tests/CliRunner.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <random>

namespace {

// Noise, so that no part of the median's work is skipped; BMP, so that reading it
// takes a moment and the filter most of the run.
QString LargeNoisyPicture(const QTemporaryDir& directory)
{
    QImage picture(6000, 4500, QImage::Format_RGB32);
    std::mt19937 random(11);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    const QString path = directory.filePath(QStringLiteral("large.bmp"));
    EXPECT_TRUE(picture.save(path));
    return path;
}

// Whether the process has its own handler for SIGINT, as the kernel lists it.
bool CatchesInterrupt(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("SigCgt:")) continue;
        const unsigned long long caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
        return (caught >> (SIGINT - 1) & 1) != 0;
    }
    return false;
}

} // namespace

TEST(CancelCli, InterruptStopsTheFilterAndWritesNothing)
{
    QTemporaryDir directory;
    const QString input = LargeNoisyPicture(directory);
    const QString output = directory.filePath(QStringLiteral("out.png"));
    QProcess process;
    process.start(QStringLiteral(BF_CLI_PATH),
                  {"apply", "Median", input, output, "--set", "MedianSize=4", "--quiet"});
    ASSERT_TRUE(process.waitForStarted());
    // The tool catches the signal just before the filter starts; the median of radius
    // 4 then takes seconds.
    const auto pid = static_cast<pid_t>(process.processId());
    for (int waited = 0; !CatchesInterrupt(pid) && waited < kProcessTimeoutMs; waited += 5) QThread::msleep(5);
    ASSERT_TRUE(CatchesInterrupt(pid)) << "the tool never got to its filter";
    ::kill(pid, SIGINT);
    ASSERT_TRUE(process.waitForFinished(kProcessTimeoutMs));
    const QByteArray said = process.readAllStandardError();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "the tool handles the signal itself";
    EXPECT_EQ(process.exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("cancelled; nothing was written")) << said.toStdString();
    EXPECT_FALSE(QFile::exists(output));
}
