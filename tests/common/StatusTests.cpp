#include "Common/status/Status.h"
#include "Common/status/StatusDisplay.h"
#include "tests/FakeDisplayable.h"
#include "tests/TestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

CComPtr<IStatus> Reported(StatusCode code, int& line)
{
    CComPtr<IStatus> status;
    line = __LINE__ + 1;
    EXPECT_FALSE(ReportStatus(status.Receive(), code));
    return status;
}

WString Shown(IStatus* status, bool diagnostics = false)
{
    return DescribeStatus(status, diagnostics).text;
}

CComPtr<IStatus> Made(CStatus* status)
{
    return CComPtr<IStatus>::Adopt(status);
}

} // namespace

TEST(Status, ReportedStatusCarriesCodeAndTheFailingLine)
{
    int line = 0;
    CComPtr<IStatus> status = Reported(kStatusInvalidArgument, line);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->GetCode(), 5);
    EXPECT_EQ(status->GetSystemError(), 0);
    EXPECT_EQ(status->GetExtra(), 0);
    EXPECT_EQ(status->GetMessage(), nullptr);
    auto extended = CComPtr<IStatusEx>::Query(status.Get(), IID_IStatusEx);
    ASSERT_TRUE(extended);
    EXPECT_EQ(WString(extended->GetSourceFile()), u"tests/common/StatusTests.cpp");
    EXPECT_EQ(extended->GetSourceLine(), line);
    EXPECT_EQ(RefCountOf(status.Get()), 2u) << "one for the caller, one for the query";
}

TEST(Status, ReportingWithoutOutPointerCreatesNothing)
{
    EXPECT_FALSE(ReportStatus(nullptr, kStatusCancelled));
}

TEST(Status, AnswersDisplayableOnlyWithAnInnerObject)
{
    auto plain = Made(new CStatus(kStatusOutOfMemory, 0));
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(plain->QueryInterface(IID_IDisplayable, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(plain->QueryInterface(IID_IStatus, nullptr), E_INVALIDARG);

    CFakeDisplayable inner;
    {
        auto wrapping = Made(new CStatus(static_cast<IDisplayable*>(&inner)));
        EXPECT_EQ(inner.refs, 2u);
        auto displayable = CComPtr<IDisplayable>::Query(wrapping.Get(), IID_IDisplayable);
        ASSERT_TRUE(displayable);
        QWidget parent;
        QWidget* shown = WidgetOfHandle(displayable->Display(HandleOfWidget(&parent)));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->parentWidget(), &parent);
        EXPECT_EQ(displayable->Display(nullptr), nullptr);
        EXPECT_EQ(inner.displayed, 1) << "a null parent is not forwarded";
        EXPECT_EQ(DescribeStatus(wrapping.Get(), true).kind, StatusPresentationKind::Displayable);
    }
    EXPECT_EQ(inner.refs, 1u) << "the status released its inner object";
}

TEST(StatusDisplay, CodesShowTheirTexts)
{
    EXPECT_EQ(Shown(Made(new CStatus(kStatusInvalidArgument, 0)).Get()), u"Internal problem. Invalid function argument.");
    EXPECT_EQ(Shown(Made(new CStatus(kStatusHostRefused, 0)).Get()), u"Plug-in manager problem.");
    EXPECT_EQ(Shown(Made(new CStatus(kStatusCancelled, 0)).Get()), u"The operation was canceled.");
    EXPECT_EQ(Shown(Made(new CStatus(kStatusOutOfMemory, 0)).Get()), u"Out of memory.");
    EXPECT_EQ(Shown(Made(new CStatus(kStatusUnsupportedFormat, 0)).Get()),
              u"Lumivista does not support the\nformat of this image file.");
    EXPECT_EQ(Shown(Made(new CStatus(kStatusWriteError, 0)).Get()), u"A file write error has occurred.");
    EXPECT_EQ(Shown(Made(new CStatus(static_cast<StatusCode>(12), 0)).Get()), u"Plugin manager error 12");
    EXPECT_EQ(Shown(Made(new CStatus(static_cast<StatusCode>(-3), 0)).Get()), u"Plugin manager error -3");
}

TEST(StatusDisplay, NothingIsShownForNoStatusOrCodeZero)
{
    EXPECT_EQ(DescribeStatus(nullptr, true).kind, StatusPresentationKind::Nothing);
    const StatusPresentation zero = DescribeStatus(Made(new CStatus(static_cast<StatusCode>(0), 0)).Get(), true);
    EXPECT_EQ(zero.kind, StatusPresentationKind::Nothing);
    EXPECT_TRUE(zero.text.empty());
}

TEST(StatusDisplay, MessageComesBeforeSystemErrorAndCode)
{
    auto status = Made(new CStatus(u"Disk on fire.", 0));
    EXPECT_EQ(status->GetCode(), 0);
    EXPECT_EQ(Shown(status.Get()), u"Disk on fire.");
    EXPECT_EQ(DescribeStatus(status.Get(), false).kind, StatusPresentationKind::MessageBox);
    // An empty message counts as none.
    EXPECT_EQ(Made(new CStatus(u"", 0))->GetMessage(), nullptr);
}

TEST(StatusDisplay, SystemErrorsShowTheSystemsText)
{
    const StatusPresentation shown = DescribeStatus(Made(new CStatus(SystemErrorNumber{ENOENT}, 0)).Get(), false);
    EXPECT_EQ(shown.kind, StatusPresentationKind::SystemErrorBox);
    EXPECT_EQ(shown.text, u"No such file or directory");
    EXPECT_EQ(StatusErrorCaption(), u"Error");
    // A number the system has no text for shows nothing at all.
    EXPECT_EQ(DescribeStatus(Made(new CStatus(SystemErrorNumber{987654}, 0)).Get(), true).kind,
              StatusPresentationKind::Nothing);
}

TEST(StatusDisplay, DiagnosticsAppendFileAndLine)
{
    auto status = Made(new CStatus(kStatusCancelled, 0));
    static_cast<CStatus*>(status.Get())->RecordSource("filters/geometry/FlipHorFilter.cpp", 42);
    EXPECT_EQ(Shown(status.Get(), true),
              u"The operation was canceled.\nFile: filters/geometry/FlipHorFilter.cpp, Line: 42");
    EXPECT_EQ(Shown(status.Get(), false), u"The operation was canceled.");
}
