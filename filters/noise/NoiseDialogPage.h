#pragma once
// What both pages of the Noise sheet share: a column of controls that stretches to
// the page's width, the hint below them, and writing the active page's name, so that
// Apply runs the operation of the page that is showing.

#include "Common/dialogs/FilterPage.h"

class CNoisePage : public CFilterPage {
public:
    CNoisePage(IInteractiveFilter* filter, IPreviewSite* site, unsigned titleId, const char16_t* pageName);

protected:
    // The page's own keys; the active page's name is added to them.
    virtual void StorePageKeys(CParamList& params) = 0;

private:
    void StoreControls(CParamList& params) final;

    const char16_t* m_pageName;
};
