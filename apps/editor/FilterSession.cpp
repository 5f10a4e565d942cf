#include "apps/editor/FilterSession.h"

#include "Common/status/StatusDisplay.h"
#include "apps/editor/EditorSettings.h"
#include "apps/editor/FilterMenuBuilder.h"
#include "apps/editor/FilterPanel.h"
#include "apps/editor/PhotoView.h"
#include "apps/editor/PreviewImage.h"
#include "platform/DialogMessage.h"
#include "refhost/ImageConversion.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// Factory flags, whose meaning is the host's: the filter reads each pixel's
// neighbourhood (and nothing farther), and it estimates from the whole picture.
// Noise has both, but it reads a rectangle drawn on the photo and so previews on
// the full photo anyway.
constexpr uint32_t kNeighbourhoodFlag = 0x40000;
constexpr uint32_t kWholePictureFlag = 0x200000;
// Wider than the farthest any neighbourhood filter reads: a blur of the largest
// sigma, 10, reaches about 40 pixels; noise windows and medians far less.
constexpr int kDetailMargin = 64;
constexpr int kDetailDelayMs = 30;
constexpr qsizetype kKeptWholePhotoResults = 4;

WString FormatOf(IHaveFormat* filter)
{
    const int needed = filter->GetFormat(nullptr, 0);
    if (needed <= 1) return WString();
    WString text(static_cast<size_t>(needed), u'\0');
    if (filter->GetFormat(text.data(), needed) != needed) return WString();
    text.resize(static_cast<size_t>(needed - 1));
    return text;
}

QSize ImageSize(IImage* image)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    return QSize(width, height);
}

} // namespace

CFilterSession::CFilterSession(const FilterEntry& entry, IInteractiveFilter* filter, IImage* photo, bool hasAlpha,
                               CPhotoView* view, CEditorSettings& settings, QObject* parent)
    : QObject(parent),
      m_entry(entry),
      m_filter(CComPtr<IInteractiveFilter>::Share(filter)),
      m_photo(CComPtr<IImage>::Share(photo)),
      m_hasAlpha(hasAlpha),
      m_view(view),
      m_settings(settings)
{
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(0);
    connect(&m_previewTimer, &QTimer::timeout, this, &CFilterSession::RefreshPreview);
    m_detailTimer.setSingleShot(true);
    m_detailTimer.setInterval(kDetailDelayMs);
    connect(&m_detailTimer, &QTimer::timeout, this, &CFilterSession::RefreshDetail);
    connect(m_view, &CPhotoView::shapeDrawn, this, &CFilterSession::OnShapeDrawn);
    connect(m_view, &CPhotoView::visibleAreaChanged, this, [this] {
        if (m_site && !m_applyingToPhoto && !m_previewTimer.isActive()) m_detailTimer.start();
    });
}

CFilterSession::~CFilterSession()
{
    m_previewTimer.stop();
    m_detailTimer.stop();
    if (m_filter->HasDialog()) m_filter->DestroyDialog();
    m_filter->SetPreviewSite(nullptr);
    if (m_site) m_site->Detach();
}

bool CFilterSession::Start(CFilterPanel* panel, CComPtr<IStatus>& status)
{
    // A filter that works on a selection reads it in the photo's pixels, so its
    // preview works on the photo itself rather than on a reduced copy.
    if (m_entry.previewShape.shape == PreviewShape::Selection) {
        m_previewSource = m_photo;
    } else {
        const QSize room = m_view->maximumViewportSize() * m_view->devicePixelRatioF();
        m_previewSource = MakePreviewImage(m_photo.Get(), room, m_hasAlpha);
    }
    if (!m_previewSource) return false;
    m_photoPicture = QImageFromImage(m_photo.Get(), m_hasAlpha);
    m_view->SetOriginal(m_photoPicture, ImageSize(m_photo.Get()));
    m_site = CComPtr<CEditorPreviewSite>::Adopt(
        CEditorPreviewSite::Create(m_previewSource.Get(), m_view, [this] { SchedulePreview(); }));
    if (!m_site) return false;
    m_filter->SetPreviewSite(m_site.Get());
    // A filter that may take a rectangle (Noise measures in it) never asks for the
    // tool to draw one; one that needs it (Crop) asks for it again from its dialog.
    if (m_entry.previewShape.shape == PreviewShape::Selection) m_view->SelectTool(PreviewTool::Rectangle);
    const WString remembered = m_settings.FilterFormat(*m_entry.factory->GetID());
    if (!remembered.empty()) m_filter->SetFormat(remembered.c_str());

    QWidget* dialog = WidgetOfHandle(m_filter->CreateDialog(HandleOfWidget(panel->DialogParent()), status.Receive()));
    if (dialog == nullptr) return false;
    panel->Place(dialog);
    HandOverRememberedSettings(dialog);
    SchedulePreview();
    return true;
}

// A dialog starts from its own defaults and stores them into the settings as soon
// as it has settled, over whatever settings the filter was given before. Once that
// first store is through, the remembered settings are handed over again, and the
// dialog moves its controls to them before the user can touch them.
void CFilterSession::HandOverRememberedSettings(QWidget* dialog)
{
    const WString remembered = m_settings.FilterFormat(*m_entry.factory->GetID());
    if (remembered.empty()) return;
    QCoreApplication::sendPostedEvents(dialog);
    m_filter->SetFormat(remembered.c_str());
    QCoreApplication::sendPostedEvents(dialog);
}

CFilterRunner::Outcome CFilterSession::Accept(CFilterRunner& runner)
{
    m_previewTimer.stop();
    m_detailTimer.stop();
    m_settings.SetFilterFormat(*m_entry.factory->GetID(), FormatOf(m_filter.Get()));
    m_applyingToPhoto = true;
    CFilterRunner::Outcome outcome = runner.Run(m_filter.Get(), m_photo.Get(), CFilterMenuBuilder::FilterName(m_entry));
    m_applyingToPhoto = false;
    return outcome;
}

void CFilterSession::SchedulePreview()
{
    // A change made while the whole photo is being filtered waits for the next preview.
    if (!m_applyingToPhoto) m_previewTimer.start();
}

void CFilterSession::RefreshPreview()
{
    const WString settings = FormatOf(m_filter.Get());
    CComPtr<IStatus> status;
    bool shown = false;
    if (PreviewsWholePhoto()) {
        shown = ShowWholePhotoResult(status);
    } else {
        CComPtr<IImage> result;
        shown = m_filter->Apply(m_previewSource.Get(), result.Receive(), nullptr, status.Receive()) && result;
        if (shown) ShowPreview(result.Get());
    }
    if (shown) {
        RefreshDetail();
        emit previewShown(QString());
        // A filter may write what it estimated into its settings, rounded as they
        // store it (Noise's levels); the final apply reads them so, and so must the
        // preview the user judges it by.
        if (FormatOf(m_filter.Get()) != settings) SchedulePreview();
        return;
    }
    m_showsActualPixels = false;
    ShowPreview(m_previewSource.Get());
    const QString reason = QString::fromStdU16String(DescribeStatus(status.Get(), false).text);
    emit previewShown(reason.isEmpty() ? tr("The filter gave no preview.") : reason);
}

// The result is drawn over the photo's own size, so that the view's selections stay
// in photo pixels; a filter that changes the size changes it in proportion.
void CFilterSession::ShowPreview(IImage* picture)
{
    const QSize shown = ImageSize(picture);
    const double scale = static_cast<double>(ImageSize(m_photo.Get()).width()) / ImageSize(m_previewSource.Get()).width();
    const QSize photoSize(static_cast<int>(std::lround(shown.width() * scale)),
                          static_cast<int>(std::lround(shown.height() * scale)));
    m_view->SetPicture(QImageFromImage(picture, m_hasAlpha), photoSize);
}

void CFilterSession::RefreshDetail()
{
    m_detailTimer.stop();
    const bool detail = ShowDetail();
    if (!detail) m_view->ClearDetail();
    m_showsActualPixels =
        detail || PreviewsWholePhoto() || ImageSize(m_previewSource.Get()) == ImageSize(m_photo.Get());
    emit detailRefreshed();
}

bool CFilterSession::PreviewsWholePhoto() const
{
    return (m_entry.flags & kWholePictureFlag) != 0 && (m_entry.flags & kNeighbourhoodFlag) == 0;
}

// Autofix's settings are a few choices, changed by a click now and then, and a
// scroll shows another part of the same result: each result is kept, so that going
// back to it costs nothing. A filter may also read the shape drawn on the photo.
CComPtr<IImage> CFilterSession::WholePhotoResult(CComPtr<IStatus>& status)
{
    const QString settings = QString::fromStdU16String(FormatOf(m_filter.Get())) + u'\n' + m_view->ShapeText();
    const auto kept = m_wholePhotoResults.constFind(settings);
    if (kept != m_wholePhotoResults.constEnd()) return *kept;
    CComPtr<IImage> result;
    if (!m_filter->Apply(m_photo.Get(), result.Receive(), nullptr, status.Receive()) || !result) return {};
    if (m_wholePhotoResults.size() >= kKeptWholePhotoResults) m_wholePhotoResults.clear();
    return *m_wholePhotoResults.insert(settings, result);
}

bool CFilterSession::ShowWholePhotoResult(CComPtr<IStatus>& status)
{
    const CComPtr<IImage> result = WholePhotoResult(status);
    if (!result) return false;
    const QImage picture = QImageFromImage(result.Get(), m_hasAlpha);
    m_view->SetPicture(picture, picture.size());
    return true;
}

// A neighbourhood filter filters the part in view with its margin; any other filter
// may place its pixels by where they lie in the whole photo (a lens distortion, a
// turn, a frame), so the part is cut from its result on the whole photo.
bool CFilterSession::ShowDetail()
{
    const QRect visible = m_view->VisiblePhotoRect();
    if (m_view->Zoom() < 1.0 || visible.isEmpty() || PreviewsWholePhoto() || m_previewSource.Get() == m_photo.Get())
        return false;
    // A shape drawn on the photo is in its pixels, which a part's pixels are not.
    const bool local = (m_entry.flags & kNeighbourhoodFlag) != 0 && m_view->ShapeText().isEmpty();
    const QImage part = local ? FilteredNeighbourhood(visible) : CutFromWholePhotoResult(visible);
    if (part.isNull()) return false;
    m_view->SetDetail(part, visible);
    return true;
}

QImage CFilterSession::FilteredNeighbourhood(const QRect& visible)
{
    const QRect area = visible.adjusted(-kDetailMargin, -kDetailMargin, kDetailMargin, kDetailMargin)
                           .intersected(QRect(QPoint(0, 0), ImageSize(m_photo.Get())));
    auto part = CComPtr<CHostImage>::Adopt(ImageFromQImage(m_photoPicture.copy(area)));
    if (!part) return QImage();
    int horizontal = 0;
    int vertical = 0;
    m_photo->GetResolution(&horizontal, &vertical);
    part->SetResolution(horizontal, vertical);
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    if (!m_filter->Apply(static_cast<IImage*>(part.Get()), result.Receive(), nullptr, status.Receive()) || !result ||
        ImageSize(result.Get()) != area.size()) {
        return QImage();
    }
    return QImageFromImage(result.Get(), m_hasAlpha).copy(visible.translated(-area.topLeft()));
}

// A result of another size than the photo (a resize) has no part in the same place.
QImage CFilterSession::CutFromWholePhotoResult(const QRect& visible)
{
    CComPtr<IStatus> status;
    const CComPtr<IImage> result = WholePhotoResult(status);
    if (!result || ImageSize(result.Get()) != ImageSize(m_photo.Get())) return QImage();
    return PartOfImage(result.Get(), visible, m_hasAlpha);
}

void CFilterSession::OnShapeDrawn()
{
    m_filter->SelectionChanged();
    SchedulePreview();
}
