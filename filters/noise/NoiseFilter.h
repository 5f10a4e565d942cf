#pragma once
// Noise: removes noise with per-channel levels (given, or measured in the whole
// picture or in the region the user selects on the preview), or adds uniform random
// noise, whichever page of the settings sheet the user looked at last. Measured
// levels are written back into the parameter text, so that the dialog shows them.

#include "Common/base/InteractiveFilterBase.h"
#include "platform/Rect.h"

#include <array>
#include <optional>

// Noise levels of red, green and blue, in this order.
using ChannelLevels = std::array<double, 3>;

class CInteractiveNoiseFilter final : public CInteractiveFilterBase {
public:
    CInteractiveNoiseFilter(IUnknown* source, IPluginHost* host);

    // With the sheet open on the Remove Noise page, hands that page the preview's
    // selection.
    void SelectionChanged() override;

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;
    // Each operation shows a text of its own, once its copy is made.
    bool AnnouncesWork() const override { return false; }

private:
    // What the settings of the apply under way ask for.
    struct Settings {
        bool addNoise = false;
        double amount = 0.0;
        ChannelLevels levels{};
        int smoothness = 0;
    };

    CApplyOutcome AddNoiseTo(IImage* working, IProgress* progress);
    CApplyOutcome RemoveNoiseFrom(IImage* working, IProgress* progress);
    // The preview's selection as a region to measure in; nothing without one.
    std::optional<RECT> PreviewRegion();
    void WriteBackLevels(const ChannelLevels& levels);

    Settings m_settings;
};
