#pragma once
// What both pages of the Color Balance sheet share: trackbars with the number they
// stand for beside them, and writing the page's name as "active" when the page is
// the one showing, so that Apply runs the mode the user looked at last.

#include "Common/dialogs/FilterPage.h"

#include <vector>

class QGridLayout;
class QLineEdit;
class QSlider;

// The whole number of value truncated toward zero, for a trackbar position; a value
// that is no number gives 0.
int TruncatedPosition(double value);

class CColorBalancePage : public CFilterPage {
public:
    CColorBalancePage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName);

    // The number shown beside the trackbar slider.
    QString ValueText(const QSlider* slider) const;

    // Called by the sheet once the page is in it: from then on the page hears when it
    // becomes the one showing.
    void WatchActivation();

protected:
    // A captioned trackbar from 0 to last at start; its label shows the position plus
    // shownOffset. Each move stores.
    QSlider* AddTrackbar(unsigned labelId, int last, int start, int shownOffset);
    // A control below the trackbars, as wide as they are.
    void AddWide(QWidget* control);
    // After the last control: the room left over stays below them all.
    void CloseColumn();
    void UpdateLabels();

    // The page's own keys; the page's name is added to them when it shows.
    virtual void StorePageKeys(CParamList& params) = 0;
    // The page has become the one showing.
    virtual void OnActivated() {}

private:
    struct Trackbar {
        QSlider* slider;
        QLineEdit* value;
        int shownOffset;
    };

    void StoreControls(CParamList& params) final;

    const char16_t* m_pageName;
    QGridLayout* m_layout;
    std::vector<Trackbar> m_trackbars;
};
