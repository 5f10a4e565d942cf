#include "Common/progress/IndependantMultiphaseProgress.h"
#include "Common/progress/MultiphaseProgress.h"
#include "platform/ComPtr.h"
#include "platform/WideString.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

using Steps = std::vector<std::pair<int, int>>;

// The host's sink as the adapters see it: records every call and answers Step as told.
// It lives on the stack, so its count only tells who still holds it.
class CRecordingProgress final : public IProgress {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        return AnswerQueryInterface(object, [&]() -> IUnknown* {
            return iid == IID_IUnknown || iid == IID_IProgress ? this : nullptr;
        });
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }

    void SetText(const char16_t* text) override { texts.emplace_back(text); }
    bool Step(int done, int total) override
    {
        steps.emplace_back(done, total);
        return answer;
    }
    void Finish(bool) override { ++finishes; }

    ULONG refs = 1;
    std::vector<WString> texts;
    Steps steps;
    int finishes = 0;
    bool answer = true;
};

CComPtr<IProgress> Multiphase(CRecordingProgress& inner, int grandTotal)
{
    IProgress* adapter = nullptr;
    EXPECT_TRUE(CMultiphaseProgress::Create(&adapter, &inner, grandTotal));
    return CComPtr<IProgress>::Adopt(adapter);
}

CComPtr<IProgress> Independant(CRecordingProgress& inner, int passes, bool allowTextChanges)
{
    IProgress* adapter = nullptr;
    EXPECT_TRUE(CIndependantMultiphaseProgress::Create(&adapter, &inner, passes, allowTextChanges));
    return CComPtr<IProgress>::Adopt(adapter);
}

// ---------------------------------------------------------------- both adapters

struct AdapterKind {
    const char* name;
    bool (*create)(IProgress** adapter, IProgress* inner);
};

const AdapterKind kAdapterKinds[] = {
    {"Multiphase", [](IProgress** a, IProgress* inner) { return CMultiphaseProgress::Create(a, inner, 300); }},
    {"Independant",
     [](IProgress** a, IProgress* inner) { return CIndependantMultiphaseProgress::Create(a, inner, 3, true); }},
};

class ProgressAdapter : public ::testing::TestWithParam<AdapterKind> {
protected:
    CComPtr<IProgress> Create()
    {
        IProgress* adapter = nullptr;
        EXPECT_TRUE(GetParam().create(&adapter, &inner));
        EXPECT_NE(adapter, nullptr);
        return CComPtr<IProgress>::Adopt(adapter);
    }

    CRecordingProgress inner;
};

TEST_P(ProgressAdapter, RefusesANullOutPointerOrInnerSink)
{
    EXPECT_FALSE(GetParam().create(nullptr, &inner));
    EXPECT_EQ(inner.refs, 1u);
    IProgress* adapter = nullptr;
    EXPECT_FALSE(GetParam().create(&adapter, nullptr));
    EXPECT_EQ(adapter, nullptr);
}

TEST_P(ProgressAdapter, HoldsTheInnerSinkUntilItsLastRelease)
{
    IProgress* adapter = Create().Detach();
    EXPECT_EQ(inner.refs, 2u);
    EXPECT_EQ(adapter->AddRef(), 2u);
    EXPECT_EQ(adapter->Release(), 1u);
    EXPECT_EQ(inner.refs, 2u);
    EXPECT_EQ(adapter->Release(), 0u);
    EXPECT_EQ(inner.refs, 1u);
}

TEST_P(ProgressAdapter, AnswersUnknownAndProgressOnly)
{
    IProgress* adapter = Create().Detach();
    for (const GUID& iid : {IID_IUnknown, IID_IProgress}) {
        void* answered = nullptr;
        ASSERT_EQ(adapter->QueryInterface(iid, &answered), S_OK);
        EXPECT_EQ(answered, static_cast<void*>(adapter));
        static_cast<IUnknown*>(answered)->Release();
    }
    void* answered = adapter;
    EXPECT_EQ(adapter->QueryInterface(IID_IImage, &answered), E_NOINTERFACE);
    EXPECT_EQ(answered, nullptr);
    EXPECT_EQ(adapter->QueryInterface(IID_IProgress, nullptr), E_INVALIDARG);
    EXPECT_EQ(adapter->Release(), 0u);
    EXPECT_EQ(inner.refs, 1u);
}

TEST_P(ProgressAdapter, PassesBackTheAnswerOfTheInnerSink)
{
    CComPtr<IProgress> adapter = Create();
    EXPECT_TRUE(adapter->Step(1, 10));
    inner.answer = false;
    EXPECT_FALSE(adapter->Step(2, 10));
    EXPECT_EQ(inner.steps.size(), 2u);
}

TEST_P(ProgressAdapter, NeverForwardsFinish)
{
    CComPtr<IProgress> adapter = Create();
    adapter->Finish(true);
    adapter->Finish(false);
    EXPECT_EQ(inner.finishes, 0);
}

INSTANTIATE_TEST_SUITE_P(Both, ProgressAdapter, ::testing::ValuesIn(kAdapterKinds),
                         [](const ::testing::TestParamInfo<AdapterKind>& info) { return info.param.name; });

// ---------------------------------------------------------------- CMultiphaseProgress

TEST(MultiphaseProgress, AddsThePassesUpAgainstTheGrandTotal)
{
    CRecordingProgress inner;
    CComPtr<IProgress> adapter = Multiphase(inner, 300);
    Steps expected;
    for (int done = 0; done <= 100; ++done) {
        adapter->Step(done, 100);
        expected.emplace_back(done, 300);
    }
    adapter->SetText(u"Second pass");
    for (int done = 0; done <= 200; ++done) {
        adapter->Step(done, 200);
        expected.emplace_back(100 + done, 300);
    }
    EXPECT_EQ(inner.steps, expected);
    EXPECT_EQ(inner.texts, std::vector<WString>{u"Second pass"});
}

TEST(MultiphaseProgress, CountsOnlyTheAdvanceOfTheCurrentPass)
{
    CRecordingProgress inner;
    CComPtr<IProgress> adapter = Multiphase(inner, 1000);
    adapter->Step(40, 7);      // the pass's own total plays no part
    adapter->Step(40, 99999);  // no advance, nothing added
    adapter->Finish(true);     // not a new pass: counting goes on from 40
    adapter->Step(100, 100);
    adapter->SetText(u"next");
    adapter->Step(30, 100);
    EXPECT_EQ(inner.steps, (Steps{{40, 1000}, {40, 1000}, {100, 1000}, {130, 1000}}));
}

// ---------------------------------------------------------------- CIndependantMultiphaseProgress

TEST(IndependantMultiphaseProgress, GivesEachPassAThousandthsShare)
{
    CRecordingProgress inner;
    CComPtr<IProgress> adapter = Independant(inner, 3, false);
    adapter->Step(50, 100);
    adapter->Finish(true);
    adapter->Step(50, 100);
    adapter->Finish(false);  // a failed pass still ends it
    adapter->Step(100, 100);
    EXPECT_EQ(inner.steps, (Steps{{500, 3000}, {1500, 3000}, {3000, 3000}}));
}

TEST(IndependantMultiphaseProgress, TruncatesAndClampsTheThousandths)
{
    CRecordingProgress inner;
    CComPtr<IProgress> adapter = Independant(inner, 2, false);
    const std::pair<int, int> counts[] = {{2, 3}, {1, 3}, {999999, 1000000}, {150, 100}, {INT_MAX, 1}, {-5, 100}, {INT_MIN, 1}};
    for (const auto& [done, total] : counts) adapter->Step(done, total);
    EXPECT_EQ(inner.steps, (Steps{{666, 2000}, {333, 2000}, {999, 2000}, {1000, 2000}, {1000, 2000}, {0, 2000}, {0, 2000}}));
}

TEST(IndependantMultiphaseProgress, ReadsATotalBelowOneAsACancel)
{
    CRecordingProgress inner;
    CComPtr<IProgress> adapter = Independant(inner, 3, true);
    EXPECT_FALSE(adapter->Step(0, 0));
    EXPECT_FALSE(adapter->Step(5, -1));
    EXPECT_TRUE(inner.steps.empty());
}

TEST(IndependantMultiphaseProgress, ShowsLaterTextsOnlyWhenAllowed)
{
    for (const bool allow : {false, true}) {
        CRecordingProgress inner;
        CComPtr<IProgress> adapter = Independant(inner, 2, allow);
        adapter->SetText(u"first");
        adapter->Finish(true);
        adapter->SetText(u"second");
        const std::vector<WString> expected = allow ? std::vector<WString>{u"first", u"second"}
                                                    : std::vector<WString>{u"first"};
        EXPECT_EQ(inner.texts, expected) << "allow " << allow;
    }
}

} // namespace
