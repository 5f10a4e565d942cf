#pragma once
// One page of a tabbed settings dialog. Pages follow the store/reload pattern of
// every dialog and also write the name of the active page, so that Apply runs the
// operation of the page the user looked at last.

#include "Common/dialogs/FilterDialog.h"

class CFilterPage : public CFilterDialog {
public:
    CFilterPage(IInteractiveFilter* filter, IPreviewSite* site, const QString& title);

    const QString& Title() const { return m_title; }

    // Becoming the active page stores its settings again, which re-applies them.
    void Activate() { PostStore(); }
    // Whether the sheet shows this page now.
    bool IsActivePage() const;

protected:
    // Closes a page's column of controls (a box layout) with a hint below them.
    void AddHint(unsigned hintId);

private:
    QString m_title;
};
