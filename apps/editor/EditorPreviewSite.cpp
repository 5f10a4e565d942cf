#include "apps/editor/EditorPreviewSite.h"

#include "apps/editor/PhotoView.h"

#include <QStringList>

#include <new>
#include <optional>
#include <utility>

namespace {

constexpr int kRectangleNumbers = 4;

// "left top right bottom", right and bottom exclusive.
std::optional<QRect> ParseSelection(const char16_t* text)
{
    if (text == nullptr) return std::nullopt;
    const QStringList words = QString::fromUtf16(text).split(u' ', Qt::SkipEmptyParts);
    if (words.size() != kRectangleNumbers) return std::nullopt;
    int edges[kRectangleNumbers];
    for (int i = 0; i < kRectangleNumbers; ++i) {
        bool ok = false;
        edges[i] = words[i].toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return QRect(QPoint(edges[0], edges[1]), QSize(edges[2] - edges[0], edges[3] - edges[1]));
}

} // namespace

CEditorPreviewSite* CEditorPreviewSite::Create(IImage* previewSource, CPhotoView* view,
                                               std::function<void()> parametersChanged)
{
    return new (std::nothrow) CEditorPreviewSite(previewSource, view, std::move(parametersChanged));
}

CEditorPreviewSite::CEditorPreviewSite(IImage* previewSource, CPhotoView* view, std::function<void()> parametersChanged)
    : m_previewSource(previewSource), m_view(view), m_parametersChanged(std::move(parametersChanged))
{
    if (m_previewSource != nullptr) m_previewSource->AddRef();
}

CEditorPreviewSite::~CEditorPreviewSite()
{
    Detach();
}

void CEditorPreviewSite::Detach()
{
    m_view.clear();
    m_parametersChanged = nullptr;
    if (m_previewSource != nullptr) std::exchange(m_previewSource, nullptr)->Release();
}

HRESULT CEditorPreviewSite::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown) return static_cast<IPreviewSite*>(this);
        if (iid == IID_IPreviewImageProvider) return static_cast<IPreviewImageProvider*>(this);
        return nullptr;
    });
}

ULONG CEditorPreviewSite::AddRef()
{
    return m_refs.Increment();
}

ULONG CEditorPreviewSite::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

void CEditorPreviewSite::ParametersChanged(int)
{
    if (m_parametersChanged) m_parametersChanged();
}

void CEditorPreviewSite::SetToolMode(int first, int second)
{
    if (m_view) m_view->RequestTool(first, second);
}

void CEditorPreviewSite::SetSelection(const char16_t* selection)
{
    const std::optional<QRect> proposed = ParseSelection(selection);
    if (m_view && proposed) m_view->ProposeSelection(*proposed);
}

const char16_t* CEditorPreviewSite::GetSelection()
{
    m_selection = m_view ? m_view->ShapeText().toStdU16String() : WString();
    return m_selection.empty() ? nullptr : m_selection.c_str();
}

bool CEditorPreviewSite::GetPreviewImage(IImage** image, IUnknown** keepAlive)
{
    if (image == nullptr || keepAlive == nullptr || m_previewSource == nullptr) return false;
    m_previewSource->AddRef();
    *image = m_previewSource;
    AddRef();
    *keepAlive = static_cast<IPreviewSite*>(this);
    return true;
}
