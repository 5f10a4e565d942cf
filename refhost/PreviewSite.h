#pragma once
// The reference host's preview: whenever a dialog says the settings changed, it
// applies the filter again to its preview picture and keeps the result.

#include "Common/base/InteractiveInterfaces.h"
#include "platform/RefCount.h"
#include "platform/WideString.h"

#include <functional>
#include <utility>
#include <vector>

class CPreviewSite final : public IPreviewSite, public IPreviewImageProvider {
public:
    // Count 1. preview (may be null) is the picture the filter is applied to.
    static CPreviewSite* Create(IImage* preview);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void ParametersChanged(int reserved) override;
    void SetToolMode(int first, int second) override;
    void SetSelection(const char16_t* selection) override;
    const char16_t* GetSelection() override;
    bool GetPreviewImage(IImage** image, IUnknown** keepAlive) override;

    // The filter to apply; held without a reference, since the filter holds the
    // site: the host keeps both alive and clears this before releasing the filter.
    void Attach(IFilter* filter) { m_filter = filter; }
    // Called after each apply with its outcome (result null on failure).
    void OnPreview(std::function<void(IImage* result)> callback) { m_onPreview = std::move(callback); }

    int ChangeCount() const { return m_changes; }
    IImage* LastResult() const { return m_result; }
    const std::vector<std::pair<int, int>>& ToolModes() const { return m_toolModes; }
    // What the user selected, as the host's mouse tool writes it.
    void SelectByUser(const char16_t* selection) { m_selection = selection != nullptr ? selection : u""; }

private:
    explicit CPreviewSite(IImage* preview);
    ~CPreviewSite();

    IImage* m_preview;
    IFilter* m_filter = nullptr;
    IImage* m_result = nullptr;
    std::function<void(IImage*)> m_onPreview;
    int m_changes = 0;
    std::vector<std::pair<int, int>> m_toolModes;
    WString m_selection;
    CRefCount m_refs;
};
