#pragma once
// What any apply must leave behind, however it was driven: shared by the robustness
// test and the apply fuzz target, which report a broken rule in their own ways.

#include "Common/status/Status.h"
#include "refhost/RecordingProgress.h"

#include <algorithm>
#include <string>
#include <vector>

// Three filters fail without a status of their own by their rules: Crop when the host
// refuses its crop (the host supplies any status), Rotate when a cropping turn finds
// no rectangle inside the turned picture (a single pixel has no diagonal to search
// along), Autofix when one of its fixes fails or is stopped. Every other failure
// names its reason.
inline bool MayFailWithoutStatus(const std::string& menuPath)
{
    return menuPath == "Crop" || menuPath == "Rotate" || menuPath.ends_with("Autofix Image");
}

struct ApplyRecord {
    bool applied = false;
    bool handedOut = false;  // a result was stored
    int code = 0;            // of the status, 0 without one
    int cancelAt = CRecordingProgress::kNeverCancel;
    std::vector<CRecordingProgress::Event> events;
};

// The first rule the apply broke, in words; empty when it kept them all.
inline std::string BrokenApplyRule(const ApplyRecord& run, bool mayFailWithoutStatus)
{
    if (run.applied != run.handedOut) return "a result must be handed out exactly when the apply succeeds";
    if (run.applied && run.code != 0) return "a status beside a result";
    const bool statusless = run.code == 0 && mayFailWithoutStatus;
    if (!run.applied && !statusless && run.code != kStatusInvalidArgument && run.code != kStatusHostRefused &&
        run.code != kStatusCancelled && run.code != kStatusOutOfMemory) {
        return "failed with status " + std::to_string(run.code);
    }
    const auto steps = std::count_if(run.events.begin(), run.events.end(),
                                     [](const auto& event) { return event.call == CRecordingProgress::Call::Step; });
    if (run.cancelAt >= 0 && steps > run.cancelAt) {
        if (run.applied) return "a cancelled apply handed out a result";
        if (!statusless && run.code != kStatusCancelled) return "cancelled, but status " + std::to_string(run.code);
    }
    const auto finish = std::find_if(run.events.begin(), run.events.end(), [](const auto& event) {
        return event.call == CRecordingProgress::Call::Finish;
    });
    if (finish != run.events.end() && finish + 1 != run.events.end()) return "progress calls after Finish";
    return {};
}
