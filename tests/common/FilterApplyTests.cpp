// The apply protocol every filter runs: the order of its steps as the options give
// it, and what the progress sink and the caller hear on each way out.

#include "tests/TestSupport.h"

#include "Common/base/PlainFilter.h"
#include "Common/status/Status.h"
#include "resources/StringIds.h"

#include <gtest/gtest.h>

#include <optional>
#include <source_location>
#include <string>
#include <vector>

namespace {

enum class Hook { Check, Settings, Make, Change, End };

struct Script {
    ApplyOptions options;
    std::optional<Hook> failAt = std::nullopt;
    StatusCode code = kStatusHostRefused;
    bool announces = true;
};

// A filter whose steps write themselves down and fail where the script says; its
// work makes one progress step.
class CScriptedFilter final : public CPlainFilter {
public:
    CScriptedFilter(IUnknown* source, const Script& script)
        : CPlainFilter(source, nullptr, IDS_PROGRESS_ROTATING, script.options), m_script(script)
    {
    }

    std::vector<Hook> log;
    int failLine = 0;

protected:
    CApplyOutcome CheckInput(IUnknown*) override { return Outcome(Hook::Check); }
    CApplyOutcome ReadSettings(IUnknown*) override { return Outcome(Hook::Settings); }
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override
    {
        const CApplyOutcome outcome = Outcome(Hook::Make);
        return outcome.Succeeded() ? CloneInput(input, true, working) : outcome;
    }
    CApplyOutcome ChangePixels(IUnknown*, IImage* working, IProgress* progress) override
    {
        if (progress != nullptr && !progress->Step(0, 1)) return CApplyOutcome::Failed(kStatusCancelled);
        working->GetPixels()[0] = 0x7F;
        return Outcome(Hook::Change);
    }
    bool AnnouncesWork() const override { return m_script.announces; }
    void EndApply() override { log.push_back(Hook::End); }

private:
    CApplyOutcome Outcome(Hook hook)
    {
        log.push_back(hook);
        if (m_script.failAt != hook) return CApplyOutcome::Done();
        failLine = static_cast<int>(std::source_location::current().line()) + 1;
        return CApplyOutcome::Failed(m_script.code);
    }

    Script m_script;
};

// What one apply did: the steps, the progress calls as text, the status and result.
struct ApplyRun {
    std::vector<Hook> hooks;
    std::vector<std::string> calls;
    int code = 0;
    int line = 0;
    int failLine = 0;
    bool result = false;
    bool answered = false;
};

std::string Describe(const CRecordingProgress::Event& event)
{
    switch (event.call) {
    case CRecordingProgress::Call::SetText:
        return "SetText " + NarrowToUtf8(event.text);
    case CRecordingProgress::Call::Step:
        return "Step";
    case CRecordingProgress::Call::Finish:
        return event.success ? "Finish true" : "Finish false";
    }
    return {};
}

ApplyRun Apply(const Script& script, int cancelAtStep = CRecordingProgress::kNeverCancel, bool withResult = true)
{
    auto source = MakeImage(3, 2, DistinctPixel);
    auto* filter = new CScriptedFilter(static_cast<IImage*>(source.Get()), script);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    ApplyRun run;
    run.answered = filter->Apply(nullptr, withResult ? result.Receive() : nullptr, progress.Get(), status.Receive());
    run.hooks = filter->log;
    run.failLine = filter->failLine;
    for (const auto& event : progress->Events()) run.calls.push_back(Describe(event));
    run.code = status ? status->GetCode() : 0;
    if (auto extended = CComPtr<IStatusEx>::Query(status.Get(), IID_IStatusEx)) run.line = extended->GetSourceLine();
    run.result = static_cast<bool>(result);
    EXPECT_EQ(source->Row(0)[0], DistinctPixel(0, 0)) << "the source is never changed";
    filter->Release();
    return run;
}

using Hooks = std::vector<Hook>;
using Calls = std::vector<std::string>;

ApplyOptions InOrder(ApplyStep first, ApplyStep second, ApplyStep third)
{
    ApplyOptions options;
    options.order = {first, second, third};
    return options;
}

} // namespace

TEST(FilterApply, StepsRunInTheOrderTheOptionsGive)
{
    const ApplyRun standard = Apply({});
    EXPECT_TRUE(standard.answered);
    EXPECT_TRUE(standard.result);
    EXPECT_EQ(standard.hooks, (Hooks{Hook::Check, Hook::Make, Hook::Settings, Hook::Change, Hook::End}));
    EXPECT_EQ(standard.calls, (Calls{"SetText Rotating", "Step", "Finish true"}));

    const ApplyRun settingsFirst = Apply({.options = InOrder(ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce)});
    EXPECT_EQ(settingsFirst.hooks, (Hooks{Hook::Check, Hook::Settings, Hook::Make, Hook::Change, Hook::End}));
    EXPECT_EQ(settingsFirst.calls, (Calls{"SetText Rotating", "Step", "Finish true"}));

    Script quiet;
    quiet.announces = false;
    EXPECT_EQ(Apply(quiet).calls, (Calls{"Step", "Finish true"})) << "work that announces itself";

    Script closedByTheWork;
    closedByTheWork.options.finishOnSuccess = false;
    EXPECT_EQ(Apply(closedByTheWork).calls, (Calls{"SetText Rotating", "Step"}));
}

TEST(FilterApply, ANullResultPointerIsCodeFiveBeforeAnythingElse)
{
    const ApplyRun run = Apply({}, CRecordingProgress::kNeverCancel, false);
    EXPECT_FALSE(run.answered);
    EXPECT_EQ(run.code, kStatusInvalidArgument);
    EXPECT_TRUE(run.hooks.empty());
    EXPECT_TRUE(run.calls.empty());
}

TEST(FilterApply, ARefusalReportsItsOwnCodeAndLineAndHandsOutNothing)
{
    for (const Hook hook : {Hook::Check, Hook::Make, Hook::Settings, Hook::Change}) {
        Script script;
        script.failAt = hook;
        script.code = hook == Hook::Change ? kStatusOutOfMemory : kStatusHostRefused;
        const ApplyRun run = Apply(script);
        EXPECT_FALSE(run.answered);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(run.code, script.code);
        EXPECT_EQ(run.line, run.failLine) << "the status names the failing check, not the protocol";
        EXPECT_EQ(run.hooks.back(), Hook::End) << "what one apply kept is dropped on every way out";
    }
}

TEST(FilterApply, OnlyAFailureAfterTheAnnouncementCanCloseTheSink)
{
    Script beforeAnnouncing;
    beforeAnnouncing.failAt = Hook::Make;
    beforeAnnouncing.options.finishOnRefusal = true;
    EXPECT_TRUE(Apply(beforeAnnouncing).calls.empty());

    Script afterAnnouncing;
    afterAnnouncing.failAt = Hook::Settings;
    EXPECT_EQ(Apply(afterAnnouncing).calls, (Calls{"SetText Rotating"}));
    afterAnnouncing.options.finishOnRefusal = true;
    EXPECT_EQ(Apply(afterAnnouncing).calls, (Calls{"SetText Rotating", "Finish false"}));

    Script silent = afterAnnouncing;
    silent.announces = false;
    EXPECT_TRUE(Apply(silent).calls.empty()) << "a sink never told a text is never closed";
}

TEST(FilterApply, AStopIsCodeEightAndClosesTheSinkWhereTheRulesSaySo)
{
    const ApplyRun closing = Apply({}, 0);
    EXPECT_EQ(closing.code, kStatusCancelled);
    EXPECT_FALSE(closing.result);
    EXPECT_EQ(closing.calls, (Calls{"SetText Rotating", "Step", "Finish false"}));

    Script statusOnly;
    statusOnly.options.finishOnStop = false;
    const ApplyRun quiet = Apply(statusOnly, 0);
    EXPECT_EQ(quiet.code, kStatusCancelled);
    EXPECT_EQ(quiet.calls, (Calls{"SetText Rotating", "Step"}));
}
