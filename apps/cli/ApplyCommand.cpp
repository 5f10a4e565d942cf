#include "apps/cli/Commands.h"
#include "apps/cli/ParameterText.h"

#include "Common/status/StatusDisplay.h"
#include "platform/ComPtr.h"
#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"
#include "refhost/TerminalProgress.h"

#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kJpegQuality = 92;

std::atomic<bool> g_cancelRequested{false};

void RequestCancel(int)
{
    g_cancelRequested = true;
}

// Ctrl-C asks the filter to stop at its next step, so that nothing half-done is written.
void CatchInterrupt()
{
    struct sigaction action {};
    action.sa_handler = &RequestCancel;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "basicfilters: %s\n", message.c_str());
}

void PrintStatus(const std::string& what, IStatus* status)
{
    const StatusPresentation shown = DescribeStatus(status, false);
    const std::string text = shown.kind == StatusPresentationKind::Displayable || shown.text.empty()
                                 ? std::string("the filter failed without saying why")
                                 : NarrowToUtf8(shown.text);
    PrintError(what + ": " + text);
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

int QualityFor(const CommandLineOptions& options, const std::string& path)
{
    if (options.quality >= 0) return options.quality;
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    return (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) ? kJpegQuality : -1;
}

// The filter, with its parameter text handed over when it takes one.
CComPtr<IFilter> CreateConfiguredFilter(const FilterEntry& entry, const CommandLineOptions& options, IImage* source,
                                        int& exitCode)
{
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    if (!entry.factory->CreateFilter(source, filter.Receive(), status.Receive()) || !filter) {
        PrintStatus("cannot create '" + entry.menuPath + "'", status.Get());
        exitCode = kExitFilterFailed;
        return {};
    }
    if (!HasParameterText(options)) return filter;
    if (!filter->IsInteractive()) {
        PrintError("'" + entry.menuPath + "' takes no settings");
        exitCode = kExitUsage;
        return {};
    }
    WString text;
    std::string error;
    if (!BuildParameterText(options, text, error)) {
        PrintError(error);
        exitCode = kExitUsage;
        return {};
    }
    filter->SetFormat(text.c_str());
    return filter;
}

CComPtr<IProgress> MakeProgress(const CommandLineOptions& options)
{
    if (options.quiet || isatty(STDERR_FILENO) == 0) return {};
    return CComPtr<IProgress>::Adopt(CTerminalProgress::Create(stderr, &g_cancelRequested));
}

} // namespace

int RunApply(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 3) {
        PrintError("usage: basicfilters apply FILTER IN OUT [--set KEY=VALUE]... [--format TEXT | --format-file F]");
        return kExitUsage;
    }
    const std::string& input = options.operands[1];
    const std::string& output = options.operands[2];
    const FilterEntry* entry = ResolveFilter(catalog, options.operands[0]);
    if (entry == nullptr) return kExitUsage;
    if (!options.overwrite && SameFile(input, output)) {
        PrintError("'" + output + "' is the input file; give another output or add --overwrite");
        return kExitUsage;
    }

    QImage picture;
    QString readError;
    if (!ReadImageFile(QString::fromStdString(input), picture, readError)) {
        PrintError(readError.toStdString());
        return kExitFile;
    }
    auto source = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!source) {
        PrintError("not enough memory for '" + input + "'");
        return kExitFile;
    }

    int exitCode = kExitOk;
    CComPtr<IFilter> filter = CreateConfiguredFilter(*entry, options, static_cast<IImage*>(source.Get()), exitCode);
    if (!filter) return exitCode;

    CatchInterrupt();
    CComPtr<IProgress> progress = MakeProgress(options);
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    if (!filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive()) || !result) {
        PrintStatus("'" + entry->menuPath + "' failed", status.Get());
        // Interactive filters refuse a parameter text that lacks their keys.
        if (entry->kind == FilterKind::Interactive && !HasParameterText(options)) {
            PrintError("'" + entry->menuPath + "' needs its settings: give them with --set KEY=VALUE (see the README)");
        }
        return kExitFilterFailed;
    }

    const QImage written = QImageFromImage(result.Get(), picture.hasAlphaChannel());
    QString writeError;
    if (!WriteImageFile(written, QString::fromStdString(output), QualityFor(options, output), writeError)) {
        PrintError(writeError.toStdString());
        return kExitFile;
    }
    return kExitOk;
}
