// What the tool does to the user's files when the disk or the folder lets it down:
// a full device, a folder it may not write in, a folder that is not there, a photo
// that arrives through a pipe (read once, so that a file replaced while it is read
// cannot mix two versions) and a signal while the output is written. Every case
// leaves what was there as it was and says why on one line.

#include "tests/CliRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(BF_SOURCE_DIR "/samples/fruits.jpg");
const QString kCopyFilter = QStringLiteral("Rotate 0 Degrees");

bool IsCharacterDevice(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

// The files left in a folder, so that a temporary file left behind shows.
QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The tool run as a user without rights to folders root made read-only: root
// writes into any folder, so the test drops to the unprivileged "nobody".
RunResult RunCliAsUnprivileged(const QStringList& arguments)
{
    if (::geteuid() != 0) return RunCli(arguments);
    QProcess process;
    process.setProgram(QStringLiteral("setpriv"));
    process.setArguments(QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                     QStringLiteral(BF_CLI_PATH)} +
                         arguments);
    process.start();
    RunResult result;
    if (!process.waitForFinished(kProcessTimeoutMs)) return result;
    if (process.exitStatus() == QProcess::NormalExit) result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

TEST(FileSafetyCli, AFullDeviceIsReportedAndStaysADevice)
{
    QTemporaryDir directory;
    // A device node like /dev/full, made in a folder of the test's own, so that a
    // tool that renamed a file over it would replace nothing of the system's.
    const QString full = directory.filePath(QStringLiteral("full.png"));
    if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "cannot make a device node here (needs root)";
    }
    const RunResult run = RunCli({"apply", kCopyFilter, kSample, full, "--quiet"});
    EXPECT_EQ(run.exitCode, 3) << Describe(run);
    EXPECT_TRUE(run.err.contains("No space left on device")) << Describe(run);
    EXPECT_TRUE(IsCharacterDevice(full)) << "the device was replaced by a file";
    EXPECT_EQ(FilesIn(directory.path()), QStringList{"full.png"}) << "nothing else was left behind";
}

TEST(FileSafetyCli, AReadOnlyFolderKeepsTheFileThereAndSaysSo)
{
    QTemporaryDir directory;
    const QString folder = directory.filePath(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString output = folder + QStringLiteral("/out.png");
    const QByteArray before = "the user's own file";
    {
        QFile existing(output);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write(before);
    }
    // Everyone may read the photo and enter the folders; no one but root may write.
    const QString input = directory.filePath(QStringLiteral("in.jpg"));
    ASSERT_TRUE(QFile::copy(kSample, input));
    ::chmod(QFile::encodeName(directory.path()).constData(), 0755);
    ::chmod(QFile::encodeName(input).constData(), 0644);
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    ::chmod(QFile::encodeName(output).constData(), 0444);

    // A checkout in a folder the unprivileged user cannot enter (a private temporary
    // folder, say) leaves nothing to test.
    if (RunCliAsUnprivileged({"info", input}).exitCode != 0) {
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        GTEST_SKIP() << "the unprivileged user cannot run the tool on the photo from here";
    }
    const RunResult run = RunCliAsUnprivileged({"apply", kCopyFilter, input, output, "--quiet", "--overwrite"});
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(run.exitCode, 3) << Describe(run);
    EXPECT_TRUE(run.err.contains("out.png")) << Describe(run);
    EXPECT_TRUE(run.err.contains("ermission denied") || run.err.contains("not writable")) << Describe(run);
    EXPECT_EQ(FileBytes(output), before);
    EXPECT_EQ(FilesIn(folder), QStringList{"out.png"});
}

TEST(FileSafetyCli, AMissingFolderIsNamedAndNothingIsMade)
{
    QTemporaryDir directory;
    const QString output = directory.filePath(QStringLiteral("no/such/folder/out.png"));
    const RunResult run = RunCli({"apply", kCopyFilter, kSample, output, "--quiet"});
    EXPECT_EQ(run.exitCode, 3) << Describe(run);
    EXPECT_TRUE(run.err.contains("does not exist")) << Describe(run);
    EXPECT_TRUE(run.err.contains("no/such/folder")) << Describe(run);
    EXPECT_FALSE(QFileInfo::exists(directory.filePath(QStringLiteral("no"))));
}

// A pipe can be read only once: a tool that opened the photo again for its metadata
// or orientation would wait for a second writer that never comes, and one that
// reads it once reads pixels and metadata of the same file, however the file
// changes meanwhile.
TEST(FileSafetyCli, APhotoIsReadOnceSoThatAPipeWorksAndNothingMixes)
{
    QTemporaryDir directory;
    const QString pipe = directory.filePath(QStringLiteral("photo.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QByteArray photo = FileBytes(kSample);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        // Waits for the tool to open the pipe, without hanging if it never does.
        int fd = -1;
        while (fd < 0 && !stop) {
            fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) QThread::msleep(10);
        }
        if (fd < 0) return;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        [[maybe_unused]] const ssize_t written = ::write(fd, photo.constData(), static_cast<size_t>(photo.size()));
        ::close(fd);
    });
    const QString output = directory.filePath(QStringLiteral("out.png"));
    QProcess process;
    process.start(QStringLiteral(BF_CLI_PATH), {"apply", kCopyFilter, pipe, output, "--quiet"});
    const bool finished = process.waitForFinished(20000);
    if (!finished) process.kill();
    stop = true;
    writer.join();
    ASSERT_TRUE(finished) << "the tool waited for the pipe a second time";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString direct = directory.filePath(QStringLiteral("direct.png"));
    ASSERT_EQ(RunCli({"apply", kCopyFilter, kSample, direct, "--quiet"}).exitCode, 0);
    EXPECT_EQ(QImage(output), QImage(direct));
}

TEST(FileSafetyCli, ADeviceThatIsNoPictureIsRefusedRatherThanReadWithoutEnd)
{
    QTemporaryDir directory;
    const RunResult run = RunCli({"apply", kCopyFilter, "/dev/zero", directory.filePath("out.png"), "--quiet"});
    EXPECT_EQ(run.exitCode, 3) << Describe(run);
    EXPECT_TRUE(run.err.contains("not a readable file")) << Describe(run);
}

// A stop asked for at any moment leaves either no output or the whole of it, never a
// temporary file; one that comes while the output is written waits for it.
TEST(FileSafetyCli, ASignalAtAnyMomentLeavesNoPartOfTheOutput)
{
    QTemporaryDir directory;
    const QString input = directory.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(SaveNoise(input, 1600, 1200, 5));
    const QString output = directory.filePath(QStringLiteral("out.png"));
    const QStringList arguments{"apply", kCopyFilter, input, output, "--quiet"};

    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(RunCli(arguments).exitCode, 0);
    const qint64 whole = clock.elapsed();
    const QImage expected(output);
    ASSERT_TRUE(QFile::remove(output));

    for (const int signal : {SIGTERM, SIGHUP}) {
        for (const double share : {0.4, 0.9}) {
            QProcess process;
            process.start(QStringLiteral(BF_CLI_PATH), arguments);
            ASSERT_TRUE(process.waitForStarted());
            QThread::msleep(static_cast<unsigned long>(whole * share));
            ::kill(static_cast<pid_t>(process.processId()), signal);
            ASSERT_TRUE(process.waitForFinished(kProcessTimeoutMs));
            const std::string where = "signal " + std::to_string(signal) + " at " + std::to_string(share) +
                                      " of the run: " + process.readAllStandardError().toStdString();
            const QStringList left = FilesIn(directory.path());
            if (left.contains(QStringLiteral("out.png"))) {
                EXPECT_EQ(QImage(output), expected) << where;
                ASSERT_TRUE(QFile::remove(output));
            } else {
                EXPECT_TRUE(process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0) << where;
            }
            EXPECT_EQ(FilesIn(directory.path()), QStringList{"in.bmp"}) << where;
        }
    }
}
