#pragma once
// The fixture of the dialog tests: an interactive filter made for a small picture,
// the reference preview site attached to it, and a parent window for its dialog.
// The dialog is destroyed and the site detached after each test.

#include "tests/TestSupport.h"

#include "Common/base/FilterFormat.h"
#include "Common/params/ParamList.h"
#include "platform/DialogMessage.h"
#include "refhost/PreviewSite.h"

#include <QWidget>

#include <cmath>

class FilterDialogTest : public ::testing::Test {
protected:
    // previewed false: a site that only counts and draws no preview.
    void MakeFilter(CFilterFactoryBase& factory, CComPtr<CHostImage> picture, bool previewed = true)
    {
        source = std::move(picture);
        filter = CreateInteractiveFilter(factory, static_cast<IImage*>(source.Get()), nullptr);
        ASSERT_TRUE(filter);
        site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(previewed ? static_cast<IImage*>(source.Get()) : nullptr));
        if (previewed) site->Attach(filter.Get());
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

    // The filter's parameter text, as the dialog last stored it.
    WString Text() const { return ReadFilterFormat(filter.Get()); }
    CParamList Stored() const { return CParamList(Text().c_str()); }

    WString StoredText(const char16_t* key) const
    {
        const CParamList params = Stored();
        const char16_t* value = params.Get(key);
        return value != nullptr ? WString(value) : WString(u"(missing)");
    }

    // NaN when the text holds no number for key.
    double StoredValue(const char16_t* key) const
    {
        double value = std::nan("");
        Stored().GetDouble(key, value);
        return value;
    }

    QWidget parent;
    CComPtr<CHostImage> source;
    CComPtr<IInteractiveFilter> filter;
    CComPtr<CPreviewSite> site;
};
