#pragma once
// The base of every filter with a settings dialog: it keeps the parameter text
// under a lock, owns the dialog between CreateDialog and DestroyDialog, and holds
// the host's preview site. Its apply runs the common protocol.

#include "Common/base/FilterApply.h"
#include "Common/base/InteractiveInterfaces.h"
#include "platform/RefCount.h"
#include "platform/WideString.h"

#include <QPointer>
#include <QWidget>

#include <mutex>

class CInteractiveFilterBase : public IInteractiveFilter, private IAreYouReady, protected CFilterApply {
public:
    CInteractiveFilterBase(IUnknown* source, IPluginHost* host, unsigned progressTextId,
                           const ApplyOptions& options = {});
    CInteractiveFilterBase(const CInteractiveFilterBase&) = delete;
    CInteractiveFilterBase& operator=(const CInteractiveFilterBase&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void SetFormat(const char16_t* format) override;
    int GetFormat(char16_t* buffer, int capacity) override;

    bool IsInteractive() override { return true; }
    bool FilterReserved4(uint32_t) override { return false; }
    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) final;

    HWND CreateDialog(HWND parent, IStatus** status) override;
    bool HasDialog() override { return !m_dialog.isNull(); }
    bool DestroyDialog() override;
    void SetPreviewSite(IPreviewSite* site) override;
    void SelectionChanged() override {}

protected:
    ~CInteractiveFilterBase() override;

    // Builds the filter's dialog as a child of parent and hands it to AdoptDialog;
    // a null parent is status 5.
    virtual bool CreateDialogWindow(QWidget* parent, IStatus** status) = 0;
    // Filters that cache settings read the parameter text again here.
    virtual void OnFormatChanged() {}
    virtual void OnDialogDestroyed() {}

    // Called by CreateDialogWindow with the dialog it made: keeps it as the filter's
    // dialog and lets the filter read the preview's selection.
    void AdoptDialog(QWidget* dialog);
    QWidget* Dialog() const { return m_dialog.data(); }
    IPreviewSite* PreviewSite() const { return m_site; }
    // A copy of the parameter text, taken under the lock.
    WString Format();

private:
    bool IsReady(uint32_t) override { return true; }

    CRefCount m_refs;
    IPreviewSite* m_site = nullptr;
    WString m_format;
    // Guarded: a host that deletes the parent window first must not leave it dangling.
    QPointer<QWidget> m_dialog;
    std::recursive_mutex m_formatLock;
};
