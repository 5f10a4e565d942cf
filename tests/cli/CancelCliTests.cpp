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
    const QString input = directory.filePath(QStringLiteral("large.bmp"));
    ASSERT_TRUE(SaveNoise(input, 6000, 4500, 11));
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
