#include "apps/editor/FilterPanel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kPanelWidth = 320;

} // namespace

CFilterPanel::CFilterPanel(QWidget* parent)
    : QWidget(parent),
      m_title(new QLabel(this)),
      m_dialogParent(new QWidget),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    m_title->setFont(titleFont);

    new QVBoxLayout(m_dialogParent);
    // Tall dialogs scroll rather than push OK and Cancel off the window.
    auto* scroller = new QScrollArea(this);
    scroller->setWidget(m_dialogParent);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(scroller, 1);
    layout->addWidget(m_buttons);
    setMinimumWidth(kPanelWidth);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &CFilterPanel::accepted);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CFilterPanel::rejected);
    hide();
}

void CFilterPanel::Open(const QString& filterName)
{
    m_title->setText(filterName);
    show();
}

void CFilterPanel::Close()
{
    hide();
}

void CFilterPanel::Place(QWidget* dialog)
{
    // Full width, natural height, at the top.
    static_cast<QVBoxLayout*>(m_dialogParent->layout())->addWidget(dialog, 0, Qt::AlignTop);
}
