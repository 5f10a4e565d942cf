#include "apps/editor/PhotoFactsDock.h"

#include "apps/editor/PhotoDocument.h"

#include <QFormLayout>
#include <QLabel>

namespace {

constexpr int kPanelWidth = 240;

} // namespace

CPhotoFactsDock::CPhotoFactsDock(CPhotoDocument* document, QWidget* parent)
    : QDockWidget(tr("Photo Information"), parent), m_document(document), m_form(new QFormLayout)
{
    setObjectName(QStringLiteral("photoFacts"));
    // Nothing in the menus brings a closed panel back, so it cannot be closed.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* contents = new QWidget;
    contents->setLayout(m_form);
    contents->setMinimumWidth(kPanelWidth);
    setWidget(contents);
    connect(m_document, &CPhotoDocument::opened, this, &CPhotoFactsDock::ShowFacts);
    ShowFacts();
}

QString CPhotoFactsDock::ValueOf(const QString& label) const
{
    for (int row = 0; row < m_form->rowCount(); ++row) {
        const auto* name = qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::LabelRole)->widget());
        const auto* value = qobject_cast<QLabel*>(m_form->itemAt(row, QFormLayout::FieldRole)->widget());
        if (name != nullptr && value != nullptr && name->text() == label) return value->text();
    }
    return QString();
}

void CPhotoFactsDock::ShowFacts()
{
    while (m_form->rowCount() > 0) m_form->removeRow(0);
    if (m_document->IsEmpty()) return;
    const auto addLine = [this](const QString& label, const QString& value) {
        auto* shown = new QLabel(value);
        shown->setWordWrap(true);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_form->addRow(new QLabel(label), shown);
    };
    const CPhotoMetadata& metadata = m_document->Metadata();
    const QColorSpace profile = metadata.ColorSpace();
    addLine(tr("Colour profile"), !profile.isValid()            ? tr("none (sRGB assumed)")
                                  : profile.description().isEmpty() ? tr("unnamed")
                                                                    : profile.description());
    const PhotoFacts facts = metadata.Facts();
    const QList<PhotoFactLine> lines = ExifFactLines(facts);
    for (const PhotoFactLine& line : lines) addLine(line.label, line.value);
    if (!facts.hasExif) addLine(tr("Camera"), tr("no EXIF information"));
    addLine(tr("GPS position"), facts.hasGps ? tr("recorded") : tr("none"));
}
