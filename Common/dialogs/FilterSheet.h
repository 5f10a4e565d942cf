#pragma once
// The settings dialog of a filter with one operation per page: a tabbed sheet whose
// pages each store their own keys and the name of the page. The filter's reload
// message comes here: the sheet shows the page the parameter text names, then has
// every page reload its controls.

#include "Common/base/InteractiveInterfaces.h"

#include <QWidget>

#include <vector>

class CFilterPage;
class CFlexPropertySheet;

class CFilterSheet : public QWidget {
public:
    CFlexPropertySheet* Sheet() const { return m_sheet; }

protected:
    // Holds a reference on the filter. pageKey names the page shown; pageNames are
    // its values, one per page in the order the pages are added.
    CFilterSheet(QWidget* parent, IInteractiveFilter* filter, unsigned captionId, const char16_t* pageKey,
                 std::vector<const char16_t*> pageNames);
    ~CFilterSheet() override;
    CFilterSheet(const CFilterSheet&) = delete;
    CFilterSheet& operator=(const CFilterSheet&) = delete;

    // The first page added is shown first and stores its settings, and its name.
    void AddPage(CFilterPage* page);

    bool event(QEvent* event) override;

private:
    void OnReload();

    IInteractiveFilter* m_filter;
    CFlexPropertySheet* m_sheet;
    const char16_t* m_pageKey;
    std::vector<const char16_t*> m_pageNames;
    std::vector<CFilterPage*> m_pages;
};
