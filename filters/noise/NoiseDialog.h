#pragma once
// The Noise settings: a tabbed sheet with the Remove Noise page first and the Add
// Noise page second; "NoiseActivePage" names the page shown.

#include "Common/dialogs/FilterSheet.h"

class CNoiseAddNoisePage;
class CNoiseRemoveNoisePage;

class CNoiseSheet final : public CFilterSheet {
public:
    static constexpr int kRemoveNoiseIndex = 0;
    static constexpr int kAddNoiseIndex = 1;

    // The pages hold a reference on the filter and one on the site.
    CNoiseSheet(QWidget* parent, IInteractiveFilter* filter, IPreviewSite* site);

    CNoiseRemoveNoisePage* RemoveNoisePage() const { return m_remove; }
    CNoiseAddNoisePage* AddNoisePage() const { return m_add; }
    bool ShowsRemoveNoise() const;

protected:
    bool event(QEvent* event) override;

private:
    void OnReload();

    IInteractiveFilter* m_filter;
    CNoiseRemoveNoisePage* m_remove;
    CNoiseAddNoisePage* m_add;
};
