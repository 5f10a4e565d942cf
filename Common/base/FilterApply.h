#pragma once
// The order every filter's apply follows, written once. A filter supplies its pixel
// work and the steps around it; its rules differ from the others only in where it
// announces its progress text, whether its settings come before or after the
// working image, and when it tells the progress sink that the work failed. Those
// differences are options, not copies of the sequence.

#include "Common/base/FilterInputs.h"
#include "Common/status/Status.h"
#include "platform/ComPtr.h"

#include <array>
#include <source_location>

// How one step of an apply ended: done, or the status that ends the apply, with the
// place of the failing check for the status's diagnostic.
class CApplyOutcome {
public:
    static CApplyOutcome Done() { return CApplyOutcome(); }
    static CApplyOutcome Failed(StatusCode code, std::source_location where = std::source_location::current())
    {
        return CApplyOutcome(code, where);
    }
    // The apply answers false and leaves the status untouched: the rules give this
    // failure no code of its own.
    static CApplyOutcome Refused() { return CApplyOutcome(kNoStatus, std::source_location::current()); }

    bool Succeeded() const { return m_code == 0; }
    bool Stopped() const { return m_code == kStatusCancelled; }
    // Stores the status through status (when asked for) and answers false.
    bool Report(IStatus** status) const
    {
        return m_code == kNoStatus ? false : ReportStatus(status, m_code, m_where);
    }

private:
    static constexpr StatusCode kNoStatus = static_cast<StatusCode>(-1);

    CApplyOutcome() = default;
    CApplyOutcome(StatusCode code, std::source_location where) : m_code(code), m_where(where) {}

    StatusCode m_code = StatusCode{};
    std::source_location m_where;
};

// The steps that come before the pixel work, in the order a filter's rules give.
enum class ApplyStep {
    WorkingImage,  // clone the input, or make a new image through the host
    Announce,      // SetText on the progress sink
    Settings,      // read the parameter text
};

struct ApplyOptions {
    std::array<ApplyStep, 3> order{ApplyStep::WorkingImage, ApplyStep::Announce, ApplyStep::Settings};
    // Finish(false) before status 8 when the user stops the work; otherwise the
    // false answer and the status alone tell the host.
    bool finishOnStop = true;
    // Finish(false) when a step after the announcement is refused.
    bool finishOnRefusal = false;
    // false: the shared routine the work ends in tells the sink itself, both ways.
    bool finishOnSuccess = true;
};

class CFilterApply {
public:
    CFilterApply(IUnknown* source, IPluginHost* host, unsigned progressTextId, const ApplyOptions& options);
    CFilterApply(const CFilterApply&) = delete;
    CFilterApply& operator=(const CFilterApply&) = delete;

    // The whole apply: checks the result out-pointer, runs the steps in the order of
    // the options, the pixel work, and hands out the working image.
    bool RunApply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status);

protected:
    virtual ~CFilterApply() = default;

    // A filter that passes some inputs whole to another filter applies that one
    // here and answers true, its outcome in applied; false runs the steps below.
    virtual bool AppliesElsewhere(IUnknown* input, IImage** result, IProgress* progress, IStatus** status,
                                  bool& applied);

    // Runs before any progress call: checks the input answers what the apply needs.
    virtual CApplyOutcome CheckInput(IUnknown* input);
    virtual CApplyOutcome ReadSettings(IUnknown* input);
    // The image the work changes and hands out; by default a clone of the input with
    // pixels to change.
    virtual CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working);
    // The work on the working image, which it may replace by another one to hand out
    // (a fix that turns the picture); by default the pixel work on it.
    virtual CApplyOutcome ChangeImage(IUnknown* input, CComPtr<IImage>& working, IProgress* progress);
    // The pixel work; reports each unit to progress (may be null). A stop is
    // Failed(kStatusCancelled). None by default: the working image is the result.
    virtual CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress);
    // false where the work announces itself (passes with texts of their own) or, as
    // the settings read decide, makes no progress calls.
    virtual bool AnnouncesWork() const { return true; }
    // Drops what one apply kept between its steps; runs at the end of every apply.
    virtual void EndApply() {}

    // A clone of input; with needsPixels, also its IBitmap with a pixel buffer.
    static CApplyOutcome CloneInput(IUnknown* input, bool needsPixels, CComPtr<IImage>& working);
    // A new width x height image of 32 bits per pixel made by the host like input,
    // with pixels in both; a refusal of the creation or the allocation is refusal,
    // every other missing piece status 6.
    CApplyOutcome CreateLikeInput(IUnknown* input, int width, int height, StatusCode refusal,
                                  CComPtr<IImage>& made) const;

    const char16_t* ProgressText() { return m_inputs.ProgressText(); }
    IUnknown* InputOr(IUnknown* input) const { return m_inputs.InputOr(input); }
    IUnknown* Source() const { return m_inputs.Source(); }
    IPluginHost* Host() const { return m_inputs.Host(); }

private:
    CApplyOutcome RunStep(ApplyStep step, IUnknown* input, CComPtr<IImage>& working, IProgress* progress);

    CFilterInputs m_inputs;
    ApplyOptions m_options;
};
