#pragma once
// What both pages of the Sharpen sheet share: trackbars of 100 steps over a range of
// values, and writing the active page's name, so that Apply runs the operation of
// the page that is showing.

#include "Common/dialogs/FilterPage.h"
#include "Common/dialogs/SliderScale.h"
#include "filters/sharpen/SharpenSettings.h"

class QSlider;

// A sharpen slider over the setting's range, with a tick every 10 positions.
constexpr CSliderScale SharpenScale(const SettingDeclaration& setting)
{
    return CSliderScale(setting.minimum, setting.maximum, SliderArithmetic::StepsFromMinimum, 10);
}

class CSharpenPage : public CFilterPage {
public:
    CSharpenPage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName);

protected:
    // A labelled trackbar over the setting's scale at its start; the end of a
    // movement stores.
    QSlider* AddSlider(unsigned labelId, const SettingDeclaration& setting);

    // The page's own keys; the active page's name is added to them.
    virtual void StorePageKeys(CParamList& params) = 0;

private:
    void StoreControls(CParamList& params) final;

    const char16_t* m_pageName;
};
