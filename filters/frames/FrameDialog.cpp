#include "filters/frames/FrameDialog.h"

#include "filters/frames/FrameFilter.h"
#include "filters/frames/FramePanel.h"
#include "platform/WideString.h"

#include <QComboBox>
#include <QFrame>
#include <QVBoxLayout>

CInteractiveFrameFilterDlg::CInteractiveFrameFilterDlg(QWidget* parent, CInteractiveFrameFilter* filter,
                                                       IPreviewSite* site)
    : CFilterDialog(parent, filter, site), m_frames(filter), m_list(new QComboBox(this)),
      m_layout(new QVBoxLayout(this))
{
    for (const auto& type : filter->Types()) m_list->addItem(QString::fromStdU16String(type->Name()));
    m_layout->addWidget(m_list);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    m_layout->addWidget(separator);
    connect(m_list, &QComboBox::activated, this, [this](int index) { Select(index); });
    Select(0);
}

// Every selection writes the chosen type's values, so the preview shows that type.
void CInteractiveFrameFilterDlg::Select(int index)
{
    const CFrameType* type = m_frames->Types()[static_cast<size_t>(index)].get();
    m_frames->SelectType(type->Name());
    m_type = type;
    m_list->setCurrentIndex(index);
    if (m_panel != nullptr) m_panel->hide();
    CFramePanel*& panel = m_panels[type];
    if (panel == nullptr) {
        panel = type->CreatePanel(this);
        panel->OnChange([this] { PostStore(); });
        m_layout->addWidget(panel);
    }
    m_panel = panel;
    m_panel->show();
    PostStore();
}

// A new text of the type's name and its own keys only: another type's keys would
// only mislead a reader of the text.
void CInteractiveFrameFilterDlg::StoreControls(CParamList& params)
{
    params = CParamList();
    params.Set(kFrameNameKey, m_type->Name());
    m_panel->Store(params);
}

void CInteractiveFrameFilterDlg::ReloadControls(const CParamList& params)
{
    const char16_t* name = params.Get(kFrameNameKey);
    if (name != nullptr && !EqualsIgnoringCase(name, m_type->Name())) {
        const auto& types = m_frames->Types();
        for (size_t index = 0; index < types.size(); ++index) {
            if (EqualsIgnoringCase(types[index]->Name(), name)) Select(static_cast<int>(index));
        }
    }
    m_panel->Load(params);
}
