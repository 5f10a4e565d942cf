#include "refhost/RecipeChain.h"

#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"
#include "refhost/PhotoMetadata.h"
#include "refhost/StatusLine.h"

namespace {

int CodeOf(IStatus* status)
{
    return status != nullptr ? status->GetCode() : 0;
}

std::string StepName(const PlannedStep& step, size_t index)
{
    std::string name = "step " + std::to_string(index + 1);
    if (step.lineNumber > 0) name += " (line " + std::to_string(step.lineNumber) + ")";
    return name + ", " + step.entry->menuPath;
}

std::string Reason(IStatus* status, const std::string& otherwise)
{
    switch (CodeOf(status)) {
    case kStatusCancelled: return "cancelled";
    case kStatusOutOfMemory: return "not enough memory for a photo this large";
    default: break;
    }
    const std::string text = StatusLine(status);
    return text.empty() ? otherwise : text;
}

// A file keeps no fourth byte for a photo without alpha: read back, it is 0xFF.
void ClearFourthByte(IImage* image)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    uint8_t* pixels = image->GetPixels();
    if (pixels == nullptr) return;
    const int stride = image->GetStride();
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) row[4 * x + 3] = 0xFF;
    }
}

CComPtr<IFilter> MakeFilter(const PlannedStep& step, IImage* source, std::string& error)
{
    CComPtr<IFilter> filter;
    CComPtr<IStatus> status;
    if (!step.entry->factory->CreateFilter(source, filter.Receive(), status.Receive()) || !filter) {
        const bool missing =
            step.entry->kind == FilterKind::Unavailable || CodeOf(status.Get()) == kStatusPluginManager;
        error = missing ? "not available in this build of the module" : Reason(status.Get(), "cannot be made");
        return {};
    }
    if (step.handsText) {
        if (!filter->IsInteractive()) {
            error = "takes no settings";
            return {};
        }
        filter->SetFormat(step.text.c_str());
    }
    HandDrawnShape(filter.Get(), step.shapes);
    return filter;
}

} // namespace

CRecipeChain::Outcome CRecipeChain::Run(const CRecipePlan& plan, IImage* photo, bool fourthByteIsAlpha,
                                        IProgress* progress)
{
    Outcome outcome;
    CComPtr<IImage> current = CComPtr<IImage>::Share(photo);
    const std::vector<PlannedStep>& steps = plan.Steps();
    for (size_t i = 0; i < steps.size(); ++i) {
        std::string error;
        CComPtr<IFilter> filter = MakeFilter(steps[i], current.Get(), error);
        CComPtr<IImage> result;
        CComPtr<IStatus> status;
        if (filter && (!filter->Apply(nullptr, result.Receive(), progress, status.Receive()) || !result)) {
            outcome.cancelled = CodeOf(status.Get()) == kStatusCancelled;
            error = Reason(status.Get(), "failed without saying why");
        }
        if (!error.empty()) {
            outcome.error = StepName(steps[i], i) + ": " + error;
            return outcome;
        }
        if (!fourthByteIsAlpha) ClearFourthByte(result.Get());
        current = std::move(result);
    }
    outcome.result = std::move(current);
    return outcome;
}

CRecipeChain::FileOutcome CRecipeChain::RunOnFile(const CRecipePlan& plan, const QString& input, const QString& output,
                                                  int quality, IProgress* progress)
{
    FileOutcome outcome;
    QImage picture;
    CPhotoMetadata metadata;
    QString error;
    if (!ReadPhotoFile(input, picture, metadata, outcome.warnings, error)) {
        outcome.fault = Fault::Read;
        outcome.error = error.toStdString();
        return outcome;
    }
    const auto photo = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!photo) {
        outcome.fault = Fault::Read;
        outcome.error = "not enough memory for '" + input.toStdString() + "'";
        return outcome;
    }
    const Outcome run = Run(plan, static_cast<IImage*>(photo.Get()), picture.hasAlphaChannel(), progress);
    if (!run.result) {
        outcome.fault = Fault::Steps;
        outcome.error = run.error;
        outcome.cancelled = run.cancelled;
        return outcome;
    }
    QStringList notes;
    if (!WritePhotoFile(QImageFromImage(run.result.Get(), picture.hasAlphaChannel()), output, quality, metadata, notes,
                        error)) {
        outcome.fault = Fault::Write;
        outcome.error = error.toStdString();
    }
    outcome.warnings += notes;
    return outcome;
}
