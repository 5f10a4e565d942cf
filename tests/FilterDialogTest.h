#pragma once
// The fixture of the dialog tests: an interactive filter made for a small picture,
// the reference preview site attached to it, and a parent window for its dialog.
// The dialog is destroyed and the site detached after each test.

#include "tests/TestSupport.h"

#include "platform/DialogMessage.h"
#include "refhost/PreviewSite.h"

#include <QWidget>

class FilterDialogTest : public ::testing::Test {
protected:
    void MakeFilter(CFilterFactoryBase& factory, CComPtr<CHostImage> picture)
    {
        source = std::move(picture);
        filter = CreateInteractiveFilter(factory, static_cast<IImage*>(source.Get()), nullptr);
        ASSERT_TRUE(filter);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(static_cast<IImage*>(source.Get())));
        site->Attach(filter.Get());
        filter->SetPreviewSite(site.Get());
    }

    void TearDown() override
    {
        if (filter) filter->DestroyDialog();
        if (site) site->Attach(nullptr);
    }

    // The filter's dialog, a child of parent; its first store is still posted.
    template <class Dialog>
    Dialog* OpenDialogOf()
    {
        HWND handle = filter->CreateDialog(HandleOfWidget(&parent), nullptr);
        EXPECT_NE(handle, nullptr);
        QWidget* dialog = WidgetOfHandle(handle);
        EXPECT_EQ(dialog->parentWidget(), &parent);
        return static_cast<Dialog*>(dialog);
    }

    QWidget parent;
    CComPtr<CHostImage> source;
    CComPtr<IInteractiveFilter> filter;
    CComPtr<CPreviewSite> site;
};
