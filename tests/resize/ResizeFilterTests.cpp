// The Resize filter's apply contract: which path each mode and size takes, the
// resolution it sets, what it tells the progress sink, and every failure's status.
// Also the reference host's own resize service that modes 1 and 2 rely on.

#include "tests/HostDoubles.h"
#include "tests/TestSupport.h"

#include "filters/resize/ResizeFactory.h"
#include "filters/resize/ResizeFilter.h"
#include "filters/resize/ResizeKernelPlane.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PluginHost.h"
#include "refhost/RecordingProgress.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr uint16_t kEnglish = 0x0409;
using Call = CRecordingProgress::Call;
using HostRefusal = CRefusingHost::Refusal;

CFilterFactoryBase& ResizeFactory()
{
    return FactoryOf<CInteractiveResizeFactory>();
}

CComPtr<CHostImage> RandomImage(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    auto image = MakeImage(width, height, [&](int, int) { return static_cast<uint32_t>(random()); });
    image->SetResolution(72, 96);
    return image;
}

struct Outcome {
    bool succeeded = false;
    CComPtr<IImage> result;
    int status = 0;
};

Outcome ApplyTo(IUnknown* source, const char16_t* format, IProgress* progress = nullptr)
{
    CComPtr<IFilter> filter;
    EXPECT_TRUE(ResizeFactory().CreateFilter(source, filter.Receive(), nullptr));
    filter->SetFormat(format);
    Outcome outcome;
    CComPtr<IStatus> status;
    outcome.succeeded = filter->Apply(nullptr, outcome.result.Receive(), progress, status.Receive());
    if (status) outcome.status = status->GetCode();
    return outcome;
}

// What the host's own resize gives for interpolation code 3 or 4.
std::vector<uint32_t> HostResized(CHostImage* source, int width, int height, int code)
{
    CComPtr<IUnknown> resized;
    EXPECT_TRUE(source->Resize(width, height, resized.Receive(), code, 0));
    return PixelsOf(CComPtr<IImage>::Query(resized.Get(), IID_IImage).Get());
}

// The factory is process-wide: each test gives it a fresh host and takes it back.
class ResizeFilter : public ::testing::Test {
protected:
    void SetUp() override { UseHost(CComPtr<IPluginHost>::Adopt(CPluginHost::Create(kEnglish)).Get()); }
    void TearDown() override { ResizeFactory().Uninitialize(0); }
    static void UseHost(IPluginHost* host) { ResizeFactory().Initialize(host, 0); }
};

}  // namespace

TEST_F(ResizeFilter, KernelModesRunThePlaneResizerAndSetTheResolution)
{
    const CComPtr<CHostImage> source = RandomImage(30, 20, 1);
    const std::vector<uint32_t> before = PixelsOf(source.Get());
    const struct {
        int mode;
        ResizeKernel kernel;
        int radius;
    } modes[] = {{3, &TriangleKernel, 1}, {4, &MitchellNetravaliKernel, 2}, {5, &LanczosKernel, 3}};
    for (const auto& mode : modes) {
        const WString format = u"ResizerMode:" + WidenUtf8(std::to_string(mode.mode)) +
                               u"\nResizerWidth:45\nResizerHeight:13\nResizerResolutionX:150\nResizerResolutionY:200\n";
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        const Outcome outcome = ApplyTo(static_cast<IImage*>(source.Get()), format.c_str(), progress.Get());
        ASSERT_TRUE(outcome.succeeded) << mode.mode;
        EXPECT_EQ(SizeOf(outcome.result.Get()), std::make_pair(45, 13));
        EXPECT_EQ(ResolutionOf(outcome.result.Get()), std::make_pair(150, 200));

        std::vector<uint32_t> expected(45 * 13);
        CPlaneResizer resizer;
        ASSERT_TRUE(resizer.Init(30, 20, 45, 13, 120, 180, mode.kernel, mode.radius, 32));
        resizer.Run(reinterpret_cast<uint8_t*>(expected.data()), source->GetPixels(), nullptr);
        EXPECT_EQ(PixelsOf(outcome.result.Get()), expected) << mode.mode;

        const auto& events = progress->Events();
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front().call, Call::SetText);
        EXPECT_EQ(events.front().text, u"Resizing the image...");
        EXPECT_EQ(events.back().call, Call::Finish);
        EXPECT_TRUE(events.back().success);
    }
    EXPECT_EQ(PixelsOf(source.Get()), before) << "the source is never changed";
    EXPECT_EQ(ResolutionOf(source.Get()), std::make_pair(72, 96));
}

// Nearest neighbour and bilinear are the host's; so is every size the resampler
// cannot take (below 8 either way, source or target), whatever the method.
TEST_F(ResizeFilter, HostModesAndSmallSizesGoToTheHostResize)
{
    const struct {
        int sourceWidth, sourceHeight, mode, width, height, hostCode;
    } cases[] = {
        {20, 20, 1, 33, 9, 3}, {20, 20, 2, 33, 9, 4}, {7, 20, 5, 30, 20, 4}, {20, 7, 3, 30, 20, 4},
        {20, 20, 4, 7, 20, 4}, {20, 20, 5, 20, 7, 4}, {20, 20, 9, 3, 3, 4},
    };
    for (const auto& c : cases) {
        const CComPtr<CHostImage> source = RandomImage(c.sourceWidth, c.sourceHeight, 2);
        const WString format = u"ResizerMode:" + WidenUtf8(std::to_string(c.mode)) + u"\nResizerWidth:" +
                               WidenUtf8(std::to_string(c.width)) + u"\nResizerHeight:" +
                               WidenUtf8(std::to_string(c.height)) + u"\nResizerResolutionX:300\n";
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create());
        const Outcome outcome = ApplyTo(static_cast<IImage*>(source.Get()), format.c_str(), progress.Get());
        ASSERT_TRUE(outcome.succeeded) << NarrowToUtf8(format);
        EXPECT_EQ(PixelsOf(outcome.result.Get()), HostResized(source.Get(), c.width, c.height, c.hostCode))
            << NarrowToUtf8(format);
        EXPECT_EQ(ResolutionOf(outcome.result.Get()), std::make_pair(300, 96)) << "a missing key keeps its start value";
        EXPECT_EQ(progress->CountOf(Call::SetText), 0);
        EXPECT_EQ(progress->CountOf(Call::Finish), 1);
    }
}

TEST_F(ResizeFilter, ResolutionOnlyKeepsEveryPixel)
{
    const CComPtr<CHostImage> source = RandomImage(12, 9, 3);
    for (const char16_t* format : {u"ResizerMode:0\nResizerWidth:40\nResizerHeight:40\nResizerResolutionX:150\n"
                                   u"ResizerResolutionY:151\n",
                                   u"ResizerResolutionX:150\nResizerResolutionY:151\n"}) {
        const Outcome outcome = ApplyTo(static_cast<IImage*>(source.Get()), format);
        ASSERT_TRUE(outcome.succeeded);
        EXPECT_NE(outcome.result.Get(), static_cast<IImage*>(source.Get())) << "a copy";
        EXPECT_EQ(SizeOf(outcome.result.Get()), std::make_pair(12, 9)) << "the pixel size keys are ignored";
        EXPECT_EQ(PixelsOf(outcome.result.Get()), PixelsOf(source.Get()));
        EXPECT_EQ(ResolutionOf(outcome.result.Get()), std::make_pair(150, 151));
    }
}

// A stop leaves part of the picture unresampled, so nothing is handed out.
TEST_F(ResizeFilter, AStopFromTheSinkFailsAsCancelled)
{
    const CComPtr<CHostImage> source = RandomImage(12, 60, 4);
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(0));
    const Outcome outcome = ApplyTo(static_cast<IImage*>(source.Get()),
                                    u"ResizerMode:5\nResizerWidth:12\nResizerHeight:90\n", progress.Get());
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(outcome.result);
    EXPECT_EQ(outcome.status, 8);
    ASSERT_FALSE(progress->Events().empty());
    EXPECT_EQ(progress->Events().back().call, Call::Finish);
    EXPECT_FALSE(progress->Events().back().success);
}

TEST_F(ResizeFilter, EveryFailureHasItsStatusAndHandsOutNothing)
{
    const GUID* noGuid = nullptr;
    const struct {
        const char* label;
        CComPtr<CHostImage> source;
        const char16_t* format;
        int status;
    } cases[] = {
        {"mode 0, no ICloneable", CComPtr<CHostImage>::Adopt(CImageWithout::Create(9, 9, IID_ICloneable)),
         u"ResizerMode:0\n", 6},
        {"mode 0, clone refused", CComPtr<CHostImage>::Adopt(CRefusingCloneImage::Create(9, 9, noGuid)),
         u"ResizerMode:0\n", 9},
        {"mode 0, clone without IImage", CComPtr<CHostImage>::Adopt(CRefusingCloneImage::Create(9, 9, &IID_IImage)),
         u"ResizerMode:0\n", 6},
        {"host mode, no IResizableImage", CComPtr<CHostImage>::Adopt(CImageWithout::Create(9, 9, IID_IResizableImage)),
         u"ResizerMode:1\n", 6},
        {"host resize refused", RandomImage(9, 9, 5), u"ResizerMode:2\nResizerWidth:0\n", 9},
        {"mode without a kernel", RandomImage(9, 9, 5), u"ResizerMode:6\nResizerWidth:10\n", 6},
    };
    for (const auto& c : cases) {
        const Outcome outcome = ApplyTo(static_cast<IImage*>(c.source.Get()), c.format);
        EXPECT_FALSE(outcome.succeeded) << c.label;
        EXPECT_FALSE(outcome.result) << c.label;
        EXPECT_EQ(outcome.status, c.status) << c.label;
    }
}

TEST_F(ResizeFilter, HostRefusalsOfTheResultImage)
{
    const struct {
        HostRefusal refusal;
        int status;
    } cases[] = {{HostRefusal::CreateImage, 9}, {HostRefusal::NoBitmap, 6}, {HostRefusal::Allocate, 9}};
    const CComPtr<CHostImage> source = RandomImage(9, 9, 6);
    for (const auto& c : cases) {
        UseHost(CComPtr<CRefusingHost>::Adopt(new CRefusingHost(c.refusal)).Get());
        const Outcome outcome = ApplyTo(static_cast<IImage*>(source.Get()), u"ResizerMode:4\nResizerWidth:18\n");
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_FALSE(outcome.result);
        EXPECT_EQ(outcome.status, c.status) << static_cast<int>(c.refusal);
    }
}

TEST_F(ResizeFilter, ApplyNeedsASource)
{
    auto orphan = CComPtr<IFilter>::Adopt(new CInteractiveResize(nullptr, nullptr));
    CComPtr<IImage> result;
    CComPtr<IStatus> missing;
    EXPECT_FALSE(orphan->Apply(nullptr, result.Receive(), nullptr, missing.Receive()));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->GetCode(), 5);
    EXPECT_FALSE(result);
}

// ---------------------------------------------------------------- the host's resize

TEST(HostResize, NearestNeighbourRepeatsAndPicksCentres)
{
    const CComPtr<CHostImage> source = MakeImage(4, 2, DistinctPixel);
    const std::vector<uint32_t> doubled = HostResized(source.Get(), 8, 4, 3);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(doubled[static_cast<size_t>(y * 8 + x)], DistinctPixel(x / 2, y / 2));
    }
    // Halving: destination pixel k covers source pixels 2k and 2k+1; its centre (2k+1)
    // lies on the left edge of 2k+1, which it takes.
    const std::vector<uint32_t> halved = HostResized(MakeImage(8, 4, DistinctPixel).Get(), 4, 2, 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(halved[static_cast<size_t>(y * 4 + x)], DistinctPixel(2 * x + 1, 2 * y + 1));
    }
}

TEST(HostResize, BilinearBlendsByCentreDistanceAndKeepsEqualSizes)
{
    // Centres of 4 pixels over 2 sit at -0.25, 0.25, 0.75, 1.25 source pixels.
    const CComPtr<CHostImage> source = MakeImage(2, 1, [](int x, int) { return x == 0 ? 0x00000000u : 0xFFFFFFFFu; });
    // 255 x 64 / 256 = 63.75 and 255 x 192 / 256 = 191.25, rounded.
    EXPECT_EQ(HostResized(source.Get(), 4, 1, 4),
              (std::vector<uint32_t>{0x00000000u, 0x40404040u, 0xBFBFBFBFu, 0xFFFFFFFFu}));
    const CComPtr<CHostImage> picture = RandomImage(7, 5, 8);
    EXPECT_EQ(HostResized(picture.Get(), 7, 5, 4), PixelsOf(picture.Get()));
    EXPECT_EQ(HostResized(picture.Get(), 7, 5, 3), PixelsOf(picture.Get()));
}

TEST(HostResize, KeepsTheResolutionAndRefusesWhatItCannotDo)
{
    const CComPtr<CHostImage> source = RandomImage(6, 6, 9);
    CComPtr<IUnknown> resized;
    ASSERT_TRUE(source->Resize(3, 12, resized.Receive(), 4, 0));
    EXPECT_EQ(ResolutionOf(CComPtr<IImage>::Query(resized.Get(), IID_IImage).Get()), std::make_pair(72, 96));
    for (const auto& [width, height, code] :
         {std::tuple{0, 5, 4}, std::tuple{5, -1, 3}, std::tuple{5, 5, 2}, std::tuple{5, 5, 5}}) {
        CComPtr<IUnknown> refused;
        EXPECT_FALSE(source->Resize(width, height, refused.Receive(), code, 0))
            << width << "x" << height << " code " << code;
        EXPECT_FALSE(refused);
    }
    EXPECT_FALSE(source->Resize(5, 5, nullptr, 4, 0));
}
