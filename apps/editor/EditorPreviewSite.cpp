#include "apps/editor/EditorPreviewSite.h"

#include "apps/editor/PhotoView.h"

#include <QStringList>

#include <algorithm>
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

// A picked point is answered as the decimal text of its colour, which is what the
// filters that ask for the point tool read.
const char16_t* CEditorPreviewSite::GetSelection()
{
    m_selection.clear();
    if (m_view && m_view->Tool() == PreviewTool::Point) {
        const std::optional<QPoint> picked = m_view->PickedPoint();
        const std::optional<uint32_t> colour = picked ? PickedColour(*picked) : std::nullopt;
        if (colour) m_selection = QString::number(*colour).toStdU16String();
    } else if (m_view) {
        m_selection = m_view->ShapeText().toStdU16String();
    }
    return m_selection.empty() ? nullptr : m_selection.c_str();
}

// The previewed picture may be a reduced copy of the photo: the pixel taken is the
// one whose area holds the centre of the photo pixel. Its rows run from the bottom.
std::optional<uint32_t> CEditorPreviewSite::PickedColour(QPoint photoPixel) const
{
    if (m_previewSource == nullptr || !m_view || m_view->PhotoSize().isEmpty()) return std::nullopt;
    int width = 0;
    int height = 0;
    m_previewSource->GetSize(&width, &height);
    const uint8_t* pixels = m_previewSource->GetPixels();
    if (pixels == nullptr || width <= 0 || height <= 0) return std::nullopt;
    const QSize photo = m_view->PhotoSize();
    const auto across = [](int at, int photoSide, int pictureSide) {
        const auto scaled = static_cast<int>((at + 0.5) * pictureSide / photoSide);
        return std::clamp(scaled, 0, pictureSide - 1);
    };
    const int x = across(photoPixel.x(), photo.width(), width);
    const int rowFromTop = across(photoPixel.y(), photo.height(), height);
    const ptrdiff_t row = static_cast<ptrdiff_t>(height - 1 - rowFromTop) * m_previewSource->GetStride();
    const uint8_t* pixel = pixels + row + 4 * x;
    // Bytes blue, green, red; the colour carries red in its low byte.
    return static_cast<uint32_t>(pixel[2]) | static_cast<uint32_t>(pixel[1]) << 8 |
           static_cast<uint32_t>(pixel[0]) << 16;
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
