#pragma once
// Runs the command-line tool as a user does, and makes the pictures it is given.

#include "tests/FileBytes.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

inline constexpr int kProcessTimeoutMs = 120000;

struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// environment: KEY=VALUE entries added to the tool's environment.
inline RunResult RunCli(const QStringList& arguments, const QStringList& environment = {})
{
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment) {
            variables.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        }
        process.setProcessEnvironment(variables);
    }
    process.setProgram(QStringLiteral(BF_CLI_PATH));
    process.setArguments(arguments);
    process.start();
    RunResult result;
    if (!process.waitForFinished(kProcessTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = "did not finish";
        return result;
    }
    if (process.exitStatus() == QProcess::NormalExit) result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline std::string Describe(const RunResult& run)
{
    return "exit " + std::to_string(run.exitCode) + "\nstdout: " + run.out.toStdString() +
           "\nstderr: " + run.err.toStdString();
}

// As a viewer shows the file: a photo taken sideways stands upright.
inline QImage Decoded(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

// The file's pixels as stored, without alpha.
inline QImage Pixels(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// A photo of the project's samples as a viewer shows it, without alpha.
inline QImage SamplePhoto(const char* name)
{
    return Decoded(QStringLiteral(BF_SOURCE_DIR "/samples/") + QString::fromLatin1(name))
        .convertToFormat(QImage::Format_RGB32);
}

// Opaque noise, saved at path (a BMP takes a moment to read, and noise leaves no part
// of a filter's work to skip); true when written.
inline bool SaveNoise(const QString& path, int width, int height, unsigned seed)
{
    QImage picture(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    return picture.save(path);
}

inline int Clamped(int value)
{
    return std::clamp(value, 0, 255);
}

// Smooth gradients, a bright round object and sensor-like noise: enough structure
// for a JPEG to differ from its source, small enough to run fast.
inline QImage PhotoLikePicture()
{
    constexpr int kWidth = 200;
    constexpr int kHeight = 150;
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> noise(-10, 10);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double distance = std::hypot(x - 120.0, y - 60.0);
            const int highlight = distance < 35.0 ? static_cast<int>(90.0 * (1.0 - distance / 35.0)) : 0;
            picture.setPixel(x, y, qRgb(Clamped(30 + x + highlight + noise(random)),
                                        Clamped(200 - y + highlight / 2 + noise(random)),
                                        Clamped(90 + (x + y) / 4 + noise(random))));
        }
    }
    picture.setDotsPerMeterX(11811);  // 300 dots per inch
    picture.setDotsPerMeterY(11811);
    return picture;
}

