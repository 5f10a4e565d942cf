// Rotate 0 Degrees end to end: the smallest complete filter and its failure paths.

#include "tests/CountingHost.h"
#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "Common/base/FilterInterfaces.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "platform/Localization.h"
#include "plugin/ModuleFactories.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>


namespace {

CComPtr<IFilter> CreateRot0(IUnknown* source)
{
    CComPtr<IFilter> filter;
    EXPECT_TRUE(FactoryOf<CRot0DegreesFactory>().CreateFilter(source, filter.Receive(), nullptr));
    return filter;
}

} // namespace

TEST(Rot0Degrees, HandsBackAnUnchangedCopy)
{
    auto source = MakeImage(5, 3, DistinctPixel);
    source->SetResolution(300, 150);
    CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
    auto progress = Recorder();
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive()));
    EXPECT_FALSE(status);
    EXPECT_NE(static_cast<void*>(result.Get()), static_cast<void*>(static_cast<IImage*>(source.Get())));
    EXPECT_TRUE(SamePixels(result.Get(), source.Get()));
    EXPECT_EQ(ResolutionOf(result.Get()), std::pair(300, 150));
    EXPECT_EQ(RefCountOf(result.Get()), 1u) << "the caller holds the only reference";
    EXPECT_EQ(ProgressCalls(progress->Events()), "SetText Rotating;Finish true;");
}

TEST(Rot0Degrees, EachApplyMakesItsOwnCopyOfTheFactorysSource)
{
    auto source = MakeImage(4, 4, DistinctPixel);
    auto other = MakeImage(2, 2, DistinctPixel);
    CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
    CComPtr<IImage> first;
    CComPtr<IImage> second;
    // The input argument is ignored: the copy is always of the factory's source.
    ASSERT_TRUE(filter->Apply(static_cast<IImage*>(other.Get()), first.Receive(), nullptr, nullptr));
    ASSERT_TRUE(filter->Apply(nullptr, second.Receive(), nullptr, nullptr));
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_TRUE(SamePixels(first.Get(), source.Get()));
    EXPECT_TRUE(SamePixels(second.Get(), source.Get()));
    first->GetPixels()[0] ^= 0xFF;
    EXPECT_TRUE(SamePixels(second.Get(), source.Get())) << "the copies share no pixels";
}

TEST(Rot0Degrees, HasNoSettings)
{
    auto source = MakeImage(1, 1, DistinctPixel);
    CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
    EXPECT_FALSE(filter->IsInteractive());
    EXPECT_FALSE(filter->FilterReserved4(0));
    filter->SetFormat(u"angle:90\n");
    char16_t buffer[8] = u"x";
    EXPECT_EQ(filter->GetFormat(buffer, 8), 0);
    EXPECT_EQ(filter->GetFormat(nullptr, 0), 0);
    void* object = nullptr;
    EXPECT_EQ(filter->QueryInterface(IID_IFilter, &object), S_OK);
    static_cast<IFilter*>(object)->Release();
    EXPECT_EQ(filter->QueryInterface(IID_IStatus, &object), E_NOINTERFACE);
}

TEST(Rot0Degrees, SourceWithoutCloneableFailsBeforeAnyProgress)
{
    auto source = CComPtr<CImageWithout>::Adopt(CImageWithout::Create(2, 2, IID_ICloneable));
    CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
    const FailedApply failed = ApplyExpectingFailure(filter.Get(), nullptr, CRecordingProgress::kNeverCancel);
    EXPECT_FALSE(failed.storedResult);
    EXPECT_EQ(failed.code, 6);
    EXPECT_TRUE(failed.events.empty());
}

TEST(Rot0Degrees, RefusedCloneEndsTheProgressUnsuccessfully)
{
    static constexpr GUID kNothingHidden{};
    struct Case {
        const char* what;
        const GUID* hiddenInClone;
    };
    for (const Case& c : {Case{"Clone answers false", nullptr}, Case{"clone without IImage", &IID_IImage},
                          Case{"clone answering everything", &kNothingHidden}}) {
        SCOPED_TRACE(c.what);
        auto source = CComPtr<CRefusingCloneImage>::Adopt(CRefusingCloneImage::Create(3, 2, c.hiddenInClone));
        CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
        auto progress = Recorder();
        CComPtr<IImage> result;
        CComPtr<IStatus> status;
        const bool copied = c.hiddenInClone == &kNothingHidden;
        EXPECT_EQ(filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive()), copied);
        EXPECT_EQ(static_cast<bool>(result), copied);
        EXPECT_EQ(status ? status->GetCode() : 0, copied ? 0 : 6);
        EXPECT_EQ(ProgressCalls(progress->Events()),
                  copied ? "SetText Rotating;Finish true;" : "SetText Rotating;Finish false;");
    }
}

TEST(Rot0Degrees, ReleasesEverythingItTook)
{
    auto source = MakeImage(3, 3, DistinctPixel);
    auto* host = new CCountingHost(0x0409);
    FactoryOf<CRot0DegreesFactory>().Initialize(static_cast<IPluginHost*>(host), 0);
    {
        CComPtr<IFilter> filter = CreateRot0(static_cast<IImage*>(source.Get()));
        CComPtr<IImage> result;
        ASSERT_TRUE(filter->Apply(nullptr, result.Receive(), nullptr, nullptr));
        EXPECT_EQ(host->HeldByOthers(), 2) << "factory and filter";
    }
    FactoryOf<CRot0DegreesFactory>().Uninitialize(0);
    EXPECT_EQ(host->HeldByOthers(), 0);
    EXPECT_EQ(RefCountOf(static_cast<IImage*>(source.Get())), 1u);
    host->Release();
}

TEST(Localization, FactoriesAdoptTheHostsLanguage)
{
    auto* german = new CCountingHost(0x0407);
    FactoryOf<CRot0DegreesFactory>().Initialize(static_cast<IPluginHost*>(german), 0);
    EXPECT_EQ(CLocalization::Instance().Language(), 0x0407);
    // No German texts are compiled in: names fall back to English.
    EXPECT_EQ(WString(FactoryOf<CRot0DegreesFactory>().GetName()), u"Rotate\\Rotate 0 Degrees");
    auto* english = new CCountingHost(0x0409);
    FactoryOf<CRot0DegreesFactory>().Initialize(static_cast<IPluginHost*>(english), 0);
    EXPECT_EQ(CLocalization::Instance().Language(), 0x0409);
    FactoryOf<CRot0DegreesFactory>().Uninitialize(0);
    german->Release();
    english->Release();
}
