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
    connect(m_view, &CPhotoView::shapeDrawn, this, &CFilterSession::OnShapeDrawn);
}

CFilterSession::~CFilterSession()
{
    m_previewTimer.stop();
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
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    if (m_filter->Apply(m_previewSource.Get(), result.Receive(), nullptr, status.Receive()) && result) {
        ShowPreview(result.Get());
        emit previewShown(QString());
        return;
    }
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

void CFilterSession::OnShapeDrawn()
{
    m_filter->SelectionChanged();
    SchedulePreview();
}
