#pragma once
// The editor's side of a filter's live preview. The filter tells it that its
// settings changed, asks it for a mouse tool and proposes selections; the site
// passes tools and selections to the photo view and answers the view's selection in
// full-size photo pixels, or with the point tool the colour the user picked. It also
// lends the previewed picture to filters that analyse it.

#include "Common/base/InteractiveInterfaces.h"
#include "platform/RefCount.h"
#include "platform/WideString.h"

#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

class CPhotoView;

class CEditorPreviewSite final : public IPreviewSite, public IPreviewImageProvider {
public:
    // Count 1. previewSource is the picture the preview applies the filter to; a
    // reference is held. parametersChanged runs on each ParametersChanged.
    static CEditorPreviewSite* Create(IImage* previewSource, CPhotoView* view, std::function<void()> parametersChanged);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void ParametersChanged(int reserved) override;
    void SetToolMode(int first, int second) override;
    void SetSelection(const char16_t* selection) override;
    const char16_t* GetSelection() override;
    bool GetPreviewImage(IImage** image, IUnknown** keepAlive) override;

    // The filter may keep the site longer than the editor's preview lasts: from now
    // on it answers without reaching the editor.
    void Detach();

private:
    CEditorPreviewSite(IImage* previewSource, CPhotoView* view, std::function<void()> parametersChanged);
    ~CEditorPreviewSite();

    // The colour (0x00BBGGRR) of the previewed picture under the photo pixel picked.
    std::optional<uint32_t> PickedColour(QPoint photoPixel) const;

    IImage* m_previewSource;
    QPointer<CPhotoView> m_view;
    std::function<void()> m_parametersChanged;
    // GetSelection's answer stays valid until the next call.
    WString m_selection;
    CRefCount m_refs;
};
