#include "filters/color-balance/ColorBalanceRgbPage.h"

#include "Common/base/InteractiveInterfaces.h"
#include "filters/color-balance/ColorBalanceSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace {

constexpr int kLastGain = static_cast<int>(kRedGainSetting.maximum);
constexpr int kStartGain = static_cast<int>(kRedGainSetting.start);
// The preview's point-picking tool: a click hands the filter the colour under it.
constexpr int kPointPickingFirst = 0;
constexpr int kPointPickingSecond = 1;

int GainPosition(double factor)
{
    return std::clamp(TruncatedPosition(factor * 100), 0, kLastGain);
}

} // namespace

CColorBalanceRgbPage::CColorBalanceRgbPage(IInteractiveFilter* filter, IPreviewSite* site, IUnknown* source)
    : CColorBalancePage(filter, site, IDS_DLG102_TITLE, kRgbPageName),
      m_source(CComPtr<IUnknown>::Share(source)),
      m_red(AddTrackbar(IDS_DLG102_RED_LABEL, kLastGain, kStartGain, 0)),
      m_green(AddTrackbar(IDS_DLG102_GREEN_LABEL, kLastGain, kStartGain, 0)),
      m_blue(AddTrackbar(IDS_DLG102_BLUE_LABEL, kLastGain, kStartGain, 0)),
      m_autofix(new QPushButton(DialogText(IDS_DLG102_AUTOFIX_COLOR_CAST), this))
{
    AddWide(m_autofix);
    auto* tip = new QLabel(DialogText(IDS_DLG102_TIP), this);
    tip->setWordWrap(true);
    AddWide(tip);
    CloseColumn();
    QObject::connect(m_autofix, &QPushButton::clicked, this, [this] { OnAutofixColorCast(); });
}

void CColorBalanceRgbPage::ShowGains(const ColorCastFactors& gains)
{
    {
        // One store for the three moves.
        const QSignalBlocker red(m_red);
        const QSignalBlocker green(m_green);
        const QSignalBlocker blue(m_blue);
        m_red->setValue(GainPosition(gains.red));
        m_green->setValue(GainPosition(gains.green));
        m_blue->setValue(GainPosition(gains.blue));
    }
    UpdateLabels();
    PostStore();
}

void CColorBalanceRgbPage::StorePageKeys(CParamList& params)
{
    params.SetInt(kRedGainKey, m_red->value());
    params.SetInt(kGreenGainKey, m_green->value());
    params.SetInt(kBlueGainKey, m_blue->value());
}

// A missing gain is the neutral 100, unlike the HSL page, which leaves its controls.
void CColorBalanceRgbPage::ReloadControls(const CParamList& params)
{
    const auto position = [&](const char16_t* key) {
        int gain = kStartGain;
        params.GetInt(key, gain);
        return gain;
    };
    m_red->setValue(position(kRedGainKey));
    m_green->setValue(position(kGreenGainKey));
    m_blue->setValue(position(kBlueGainKey));
    UpdateLabels();
}

void CColorBalanceRgbPage::OnActivated()
{
    if (Site() != nullptr) Site()->SetToolMode(kPointPickingFirst, kPointPickingSecond);
}

CComPtr<IImage> CColorBalanceRgbPage::PictureToAnalyse(CComPtr<IUnknown>& keepAlive) const
{
    if (const auto provider = CComPtr<IPreviewImageProvider>::Query(Site(), IID_IPreviewImageProvider)) {
        CComPtr<IImage> previewed;
        if (provider->GetPreviewImage(previewed.Receive(), keepAlive.Receive()) && previewed) return previewed;
    }
    return CComPtr<IImage>::Query(m_source.Get(), IID_IImage);
}

void CColorBalanceRgbPage::OnAutofixColorCast()
{
    CComPtr<IUnknown> keepAlive;
    const CComPtr<IImage> picture = PictureToAnalyse(keepAlive);
    if (!picture) return;
    ColorCastFactors gains;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool found = DetectColorCast(picture.Get(), nullptr, &gains.red, &gains.green, &gains.blue);
    QApplication::restoreOverrideCursor();
    if (found) ShowGains(gains);
}
