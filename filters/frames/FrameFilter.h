#pragma once
// The frame filter: blends a decorative frame into a copy of the picture with one of
// its frame types. The dialog selects the type; an apply without a dialog (the
// command line) takes the type named by NameOfTheFrame.

#include "Common/base/InteractiveFilterBase.h"
#include "filters/frames/FrameType.h"

#include <memory>
#include <vector>

class CInteractiveFrameFilter final : public CInteractiveFilterBase {
public:
    CInteractiveFrameFilter(IUnknown* source, IPluginHost* host);

    // The types in the dialog's list order: fading, single, double.
    const std::vector<std::unique_ptr<CFrameType>>& Types() const { return m_types; }
    // The type of that name, compared without regard to case; null for none.
    CFrameType* TypeNamed(WStringView name) const;
    // Makes the type of that name the selected one; false (nothing changes) for none.
    bool SelectType(WStringView name);
    CFrameType* SelectedType() const { return m_selected; }

protected:
    bool CreateDialogWindow(QWidget* parent, IStatus** status) override;
    CApplyOutcome CheckInput(IUnknown* input) override;
    CApplyOutcome ReadSettings(IUnknown* input) override;
    CApplyOutcome MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working) override;
    CApplyOutcome ChangePixels(IUnknown* input, IImage* working, IProgress* progress) override;

private:
    std::vector<std::unique_ptr<CFrameType>> m_types;
    CFrameType* m_selected = nullptr;
};
