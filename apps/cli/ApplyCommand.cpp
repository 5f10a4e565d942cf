#include "apps/cli/Commands.h"
#include "apps/cli/Interrupt.h"
#include "apps/cli/ParameterText.h"
#include "apps/cli/PhotoReading.h"
#include "apps/cli/PreviewShapeOption.h"
#include "apps/cli/RecipeFiles.h"

#include "Common/base/FilterFormat.h"
#include "Common/status/Status.h"
#include "Common/status/StatusDisplay.h"
#include "platform/ComPtr.h"
#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"
#include "refhost/RecipeChain.h"
#include "refhost/StatusLine.h"
#include "refhost/TerminalProgress.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kJpegQuality = 92;

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "basicfilters: %s\n", message.c_str());
}

int CodeOf(IStatus* status)
{
    return status != nullptr ? status->GetCode() : 0;
}

// What a command-line user can make of a failed apply; empty when the module's own
// text says all there is.
std::string ApplyAdvice(int code, const FilterEntry& entry, const CommandLineOptions& options)
{
    if (std::string missing = MissingPreviewShapeAdvice(entry, options); !missing.empty()) return missing;
    switch (code) {
    case kStatusCancelled: return "cancelled; nothing was written";
    case kStatusOutOfMemory: return "not enough memory for a photo this large; try a smaller one";
    case kStatusHostRefused:
        // With declarations every key the filter reads is filled in, so what is left
        // is something of the host's.
        if (entry.settings.empty() && entry.kind == FilterKind::Interactive && !HasParameterText(options)) {
            return "it needs its settings, which this module does not describe: give them with --set KEY=VALUE "
                   "(see the README)";
        }
        return "the tool could not give the filter what it needed";
    default: return {};
    }
}

// One line: the advice, then what the module said, so neither is lost.
void PrintFailure(const std::string& what, const std::string& advice, IStatus* status)
{
    const std::string moduleText = StatusLine(status);
    if (advice.empty()) {
        PrintError(what + ": " + (moduleText.empty() ? "the filter failed without saying why" : moduleText));
    } else if (moduleText.empty()) {
        PrintError(what + ": " + advice);
    } else {
        PrintError(what + ": " + advice + " (the module says: " + moduleText + ")");
    }
}

int QualityFor(const CommandLineOptions& options, const std::string& path)
{
    if (options.quality >= 0) return options.quality;
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    return (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) ? kJpegQuality : -1;
}

// The filter, with its parameter text handed over when it takes one.
CComPtr<IFilter> CreateConfiguredFilter(const FilterEntry& entry, const WString* text, IImage* source,
                                        int& exitCode)
{
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    if (!entry.factory->CreateFilter(source, filter.Receive(), status.Receive()) || !filter) {
        const bool missing = entry.kind == FilterKind::Unavailable || CodeOf(status.Get()) == kStatusPluginManager;
        PrintFailure("cannot create '" + entry.menuPath + "'",
                     missing ? "it is not available in this build of the module" : std::string(), status.Get());
        exitCode = kExitFilterFailed;
        return {};
    }
    if (text == nullptr) return filter;
    if (!filter->IsInteractive()) {
        PrintError("'" + entry.menuPath + "' takes no settings");
        exitCode = kExitUsage;
        return {};
    }
    filter->SetFormat(text->c_str());
    return filter;
}

// The bar shows only on a terminal, but Ctrl-C stops the filter wherever the tool
// runs: a quiet or redirected run still hands the filter a sink to ask.
CComPtr<IProgress> MakeProgress(const CommandLineOptions& options)
{
    FILE* bar = options.quiet || isatty(STDERR_FILENO) == 0 ? nullptr : stderr;
    return CComPtr<IProgress>::Adopt(CTerminalProgress::Create(bar, &InterruptRequested()));
}

// OUT in the format its suffix names, with the photo's metadata.
int WriteResult(IImage* result, bool hasAlpha, const std::string& output, const CPhotoMetadata& metadata,
                const CommandLineOptions& options)
{
    const QImage written = QImageFromImage(result, hasAlpha);
    QString writeError;
    QStringList leftOut;
    if (!WritePhotoFile(written, QString::fromStdString(output), QualityFor(options, output), metadata, leftOut,
                        writeError)) {
        PrintError(writeError.toStdString());
        return kExitFile;
    }
    PrintFileWarnings(output, leftOut);
    return kExitOk;
}

bool TakesOneFilterOnly(const CommandLineOptions& options)
{
    return HasParameterText(options) || options.selection || options.line || options.printSettings;
}

// apply --recipe FILE IN OUT: the photo decoded once, every step run on it in
// memory, the result encoded once.
int RunApplyRecipe(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.operands.size() != 2 || TakesOneFilterOnly(options)) {
        PrintError("usage: basicfilters apply --recipe FILE IN OUT [--quality N] [--overwrite] [--quiet] (the "
                   "settings and shapes are the recipe's)");
        return kExitUsage;
    }
    const std::string& input = options.operands[0];
    const std::string& output = options.operands[1];
    if (!options.overwrite && IsSameFile(input, output)) {
        PrintError("'" + output + "' is the input file; give another output or add --overwrite");
        return kExitUsage;
    }
    CRecipePlan plan;
    if (!ReadRecipePlan(options.recipeFile, catalog, plan, options.quiet)) return kExitUsage;
    CatchInterrupt();
    CComPtr<IProgress> progress = MakeProgress(options);
    const CRecipeChain::FileOutcome outcome =
        CRecipeChain::RunOnFile(plan, QString::fromStdString(input), QString::fromStdString(output),
                                QualityFor(options, output), progress.Get());
    PrintFileWarnings(input, outcome.warnings);
    switch (outcome.fault) {
    case CRecipeChain::Fault::None: EndIfInterrupted(output); return kExitOk;
    case CRecipeChain::Fault::Steps:
        PrintError(options.recipeFile + ": " + outcome.error + (outcome.cancelled ? "; nothing was written" : ""));
        return kExitFilterFailed;
    case CRecipeChain::Fault::Read:
    case CRecipeChain::Fault::Write: PrintError(outcome.error); return kExitFile;
    }
    return kExitFile;
}

} // namespace

int RunApply(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (!options.recipeFile.empty()) return RunApplyRecipe(options, catalog);
    if (options.operands.size() != 3) {
        PrintError("usage: basicfilters apply FILTER IN OUT [--set KEY=VALUE]... [--format TEXT | --format-file F] "
                   "[--print-settings]");
        return kExitUsage;
    }
    const std::string& input = options.operands[1];
    const std::string& output = options.operands[2];
    const FilterEntry* entry = ResolveFilter(catalog, options.operands[0]);
    if (entry == nullptr) return kExitUsage;
    if (!options.overwrite && IsSameFile(input, output)) {
        PrintError("'" + output + "' is the input file; give another output or add --overwrite");
        return kExitUsage;
    }
    // Settings are checked before the picture is read, so that a typo costs nothing.
    const bool handsText = HasParameterText(options) || !entry->settings.empty();
    WString text;
    SettingNotes notes;
    std::string error;
    if ((handsText && !PrepareParameterText(*entry, options, text, notes, error)) ||
        !CheckPreviewShapeOptions(*entry, options, error)) {
        PrintError(error);
        return kExitUsage;
    }

    CatchInterrupt();
    QImage picture;
    CPhotoMetadata metadata;
    const CComPtr<CHostImage> source = ReadPhoto(input, picture, &metadata);
    if (!source) return kExitFile;

    int exitCode = kExitOk;
    CComPtr<IFilter> filter = CreateConfiguredFilter(*entry, handsText ? &text : nullptr,
                                                     static_cast<IImage*>(source.Get()), exitCode);
    if (!filter) return exitCode;
    HandPreviewShape(filter.Get(), options);
    PrintSettingNotes(*entry, notes, options.quiet);

    CComPtr<IProgress> progress = MakeProgress(options);
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    if (!filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive()) || !result) {
        PrintFailure("'" + entry->menuPath + "' failed", ApplyAdvice(CodeOf(status.Get()), *entry, options),
                     status.Get());
        return kExitFilterFailed;
    }

    if (const int written = WriteResult(result.Get(), picture.hasAlphaChannel(), output, metadata, options);
        written != kExitOk) {
        return written;
    }
    EndIfInterrupted(output);
    // As format prints a text: what the filter measured and wrote back can be kept
    // and given again with --format-file.
    if (options.printSettings) std::fputs(NarrowToUtf8(ReadFilterFormat(filter.Get())).c_str(), stdout);
    return kExitOk;
}
