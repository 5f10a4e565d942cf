#include "apps/editor/ProgressPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kBarWidth = 220;

} // namespace

CProgressPanel::CProgressPanel(QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_bar(new QProgressBar(this)), m_cancel(new QPushButton(tr("Cancel"), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    m_bar->setFixedWidth(kBarWidth);
    m_bar->setTextVisible(true);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressPanel::RequestCancel);
    hide();
}

void CProgressPanel::Begin(const QString& title)
{
    m_cancelRequested = false;
    m_text->setText(title);
    // A busy bar until the filter tells how much there is to do.
    m_bar->setRange(0, 0);
    m_cancel->setEnabled(true);
    show();
}

void CProgressPanel::SetText(const QString& text)
{
    m_text->setText(text);
}

void CProgressPanel::SetStep(int done, int total)
{
    if (total <= 0) return;
    m_bar->setRange(0, total);
    m_bar->setValue(std::clamp(done, 0, total));
}

void CProgressPanel::End()
{
    hide();
}

void CProgressPanel::RequestCancel()
{
    m_cancelRequested = true;
    m_cancel->setEnabled(false);
    m_text->setText(tr("Cancelling..."));
}
