#include "filters/noise/NoiseRemovePage.h"

#include "Common/base/InteractiveInterfaces.h"
#include "Common/dialogs/SliderRow.h"
#include "filters/noise/NoiseRegion.h"
#include "filters/noise/NoiseSettings.h"
#include "platform/DialogText.h"
#include "resources/StringIds.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What the page tells the preview's tool (the meaning of each pair is the host's).
constexpr int kRegionDroppedFirst = 1;
constexpr int kLevelsArrivedFirst = 2;
constexpr int kToolModeSecond = 0;

constexpr int kLevelTickInterval = 20;

constexpr unsigned kLevelLabels[] = {IDS_DLG105_RED_LABEL, IDS_DLG105_GREEN_LABEL, IDS_DLG105_BLUE_LABEL};

SliderRow LevelRow(unsigned labelId)
{
    return SliderRow{labelId, kEstimatedLevel, kLargestNoiseLevel, kEstimatedLevel, kLevelTickInterval};
}

} // namespace

CNoiseRemoveNoisePage::CNoiseRemoveNoisePage(IInteractiveFilter* filter, IPreviewSite* site)
    : CNoisePage(filter, site, IDS_NOISE_REMOVE_PAGE, kRemoveNoisePageName),
      m_smoothness(AddSliderRow(this,
                                SliderRow{IDS_DLG105_SMOOTHNESS_LABEL, kSmallestFilterSize, kLargestFilterSize,
                                          kStartFilterSize, 1},
                                SliderStore::WhenMovementEnds, [this] { PostStore(); }))
{
    AddLevelsGroup();
    m_automaticProfile = new QPushButton(DialogText(IDS_DLG105_AUTOMATIC_PROFILE), this);
    layout()->addWidget(m_automaticProfile);
    QObject::connect(m_automaticProfile, &QPushButton::clicked, this, [this] { OnAutomaticProfile(); });
    AddHint(IDS_DLG105_HINT);
}

// The group's own layout stretches the level trackbars to its width.
void CNoiseRemoveNoisePage::AddLevelsGroup()
{
    auto* group = new QGroupBox(DialogText(IDS_DLG105_NOISE_LEVELS), this);
    new QVBoxLayout(group);
    for (size_t channel = 0; channel < 3; ++channel) {
        m_levels[channel] = AddSliderRow(group, LevelRow(kLevelLabels[channel]), SliderStore::WhenMovementEnds,
                                         [this] { PostStore(); });
    }
    layout()->addWidget(group);
}

void CNoiseRemoveNoisePage::WatchLeaving()
{
    auto* stack = qobject_cast<QStackedWidget*>(parentWidget());
    if (stack == nullptr) return;
    m_wasActive = IsActivePage();
    QObject::connect(stack, &QStackedWidget::currentChanged, this, [this] {
        const bool active = IsActivePage();
        if (m_wasActive && !active) DropRegion();
        m_wasActive = active;
    });
}

void CNoiseRemoveNoisePage::TakeRegion(const RECT& region)
{
    m_region = region;
    if (!IsEmptyRegion(region)) PostStore();
}

// The trackbars hold their ranges, so their positions are the clamped values.
void CNoiseRemoveNoisePage::StorePageKeys(CParamList& params)
{
    for (size_t channel = 0; channel < 3; ++channel) {
        params.SetInt(kNoiseLevelKeys[channel], m_levels[channel]->value());
    }
    params.SetInt(kNoiseFilterSizeKey, m_smoothness->value());
}

// Unlike most pages, a missing key here has a value of its own: level 0, size 3.
void CNoiseRemoveNoisePage::ReloadControls(const CParamList& params)
{
    const bool wereZero = LevelsAllZero();
    for (size_t channel = 0; channel < 3; ++channel) {
        int level = kEstimatedLevel;
        params.GetInt(kNoiseLevelKeys[channel], level);
        m_levels[channel]->setValue(level);
    }
    int size = kStartFilterSize;
    params.GetInt(kNoiseFilterSizeKey, size);
    m_smoothness->setValue(size);
    if (wereZero && !LevelsAllZero() && Site() != nullptr) Site()->SetToolMode(kLevelsArrivedFirst, kToolModeSecond);
}

// The next apply measures the whole picture: the region goes and the levels return
// to 0; the smoothness stays.
void CNoiseRemoveNoisePage::OnAutomaticProfile()
{
    DropRegion();
    bool moved = false;
    for (QSlider* level : m_levels) {
        // One store for all the moves.
        const QSignalBlocker quiet(level);
        moved = moved || level->value() != kEstimatedLevel;
        level->setValue(kEstimatedLevel);
    }
    if (moved) PostStore();
}

void CNoiseRemoveNoisePage::DropRegion()
{
    m_region = RECT{0, 0, 0, 0};
    if (Site() != nullptr) Site()->SetToolMode(kRegionDroppedFirst, kToolModeSecond);
}

bool CNoiseRemoveNoisePage::LevelsAllZero() const
{
    return std::all_of(std::begin(m_levels), std::end(m_levels),
                       [](const QSlider* level) { return level->value() == kEstimatedLevel; });
}
