#pragma once
// A tabbed settings dialog: one CFilterPage per tab.

#include <QWidget>

class CFilterPage;
class QTabWidget;

class CFlexPropertySheet final : public QWidget {
public:
    explicit CFlexPropertySheet(QWidget* parent);

    // The sheet takes the page over; the first page added becomes the active one.
    void AddPage(CFilterPage* page);
    void SetActivePage(int index);
    int ActivePage() const;
    int PageCount() const;
    CFilterPage* Page(int index) const;

private:
    QTabWidget* m_tabs;
};
