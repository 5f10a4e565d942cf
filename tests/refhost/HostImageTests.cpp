#include "tests/TestSupport.h"

#include "refhost/HostImage.h"
#include "refhost/PluginHost.h"

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using ImagePtr = CComPtr<CHostImage>;

ImagePtr Blank(int width, int height)
{
    return ImagePtr::Adopt(CHostImage::Create(width, height));
}

// A pixel value no other pixel of a test image shares; every byte differs from its
// neighbours so that a swapped byte order or a shifted row shows.
uint32_t Marker(int x, int row)
{
    return 0x80000000u | (static_cast<uint32_t>(row) << 16) | (static_cast<uint32_t>(x) << 8) |
           static_cast<uint32_t>(x + row * 7 + 1);
}

// The 32-bit word at column x of bottom-up row `row`, read through the raw buffer
// the way a filter does (bytes blue, green, red, fourth).
uint32_t WordAt(IImage* image, int x, int row)
{
    const uint8_t* pixel = image->GetPixels() + static_cast<ptrdiff_t>(row) * image->GetStride() + x * 4;
    return static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8 |
           static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[3]) << 24;
}

void FillWithMarkers(IImage* image)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    for (int row = 0; row < height; ++row) {
        uint8_t* line = image->GetPixels() + static_cast<ptrdiff_t>(row) * image->GetStride();
        for (int x = 0; x < width; ++x) {
            const uint32_t value = Marker(x, row);
            for (int byte = 0; byte < 4; ++byte) line[x * 4 + byte] = static_cast<uint8_t>(value >> (8 * byte));
        }
    }
}

std::vector<uint8_t> BytesOf(IImage* image)
{
    auto bitmap = CComPtr<IBitmap>::Query(image, IID_IBitmap);
    const uint8_t* pixels = bitmap->GetPixels();
    return {pixels, pixels + bitmap->GetBufferSize()};
}

IImage* AsImage(const ImagePtr& image)
{
    return static_cast<IImage*>(image.Get());
}

// The identity of a component: what it answers for IUnknown.
IUnknown* IdentityOf(IUnknown* object)
{
    return CComPtr<IUnknown>::Query(object, IID_IUnknown).Get();
}

// ---------------------------------------------------------------- size and layout

TEST(HostImage, CreateRefusesSizesThatAreNotPositive)
{
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{0, 5}, {5, 0}, {0, 0}, {-1, 3}, {3, -2}}) {
        EXPECT_EQ(CHostImage::Create(width, height), nullptr) << width << " x " << height;
    }
    EXPECT_NE(Blank(1, 1).Get(), nullptr);
}

TEST(HostImage, NewImageIsPackedZeroedAndAtTheDefaultResolution)
{
    auto image = Blank(7, 3);
    ASSERT_TRUE(image);
    EXPECT_EQ(SizeOf(AsImage(image)), std::pair(7, 3));
    EXPECT_EQ(image->GetStride(), 28);
    EXPECT_EQ(image->GetBufferSize(), 7 * 3 * 4);
    EXPECT_EQ(BytesOf(AsImage(image)), std::vector<uint8_t>(7 * 3 * 4, 0));
    EXPECT_EQ(ResolutionOf(AsImage(image)), std::pair(96, 96));
}

TEST(HostImage, BitmapDescriptionDescribesThePixelsTheImageHandsOut)
{
    auto image = Blank(5, 4);
    BITMAP description{};
    ASSERT_EQ(GetObjectW(image->GetBitmap(), sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.bmWidth, 5);
    EXPECT_EQ(description.bmHeight, 4);
    EXPECT_EQ(description.bmWidthBytes, 20);
    EXPECT_EQ(description.bmBitsPixel, 32);
    EXPECT_EQ(description.bmBits, image->GetPixels());

    auto bitmap = CComPtr<IBitmap>::Query(AsImage(image), IID_IBitmap);
    EXPECT_EQ(bitmap->GetPixels(), image->GetPixels());
    EXPECT_EQ(bitmap->GetStride(), 20);
    int width = 0;
    int height = 0;
    bitmap->GetSize(&width, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(5, 4));
}

TEST(HostImage, AllocateReplacesThePixelsAndRefusesOtherDepths)
{
    auto image = Blank(4, 3);
    auto bitmap = CComPtr<IBitmap>::Query(AsImage(image), IID_IBitmap);
    ASSERT_TRUE(bitmap->Allocate(6, 2, 32, nullptr));
    EXPECT_EQ(SizeOf(AsImage(image)), std::pair(6, 2));
    EXPECT_EQ(bitmap->GetStride(), 24);
    EXPECT_EQ(bitmap->GetBufferSize(), 48);
    BITMAP description{};
    GetObjectW(image->GetBitmap(), sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 6);
    EXPECT_EQ(description.bmHeight, 2);
    EXPECT_EQ(description.bmBits, bitmap->GetPixels());
    // The new buffer is really 6 x 2: writing all of it must stay inside it.
    std::memset(bitmap->GetPixels(), 0xAB, 48);
    EXPECT_EQ(image->GetPixel(5, 1), 0xABABABABu);

    EXPECT_FALSE(bitmap->Allocate(3, 3, 24, nullptr));
    EXPECT_FALSE(bitmap->Allocate(0, 3, 32, nullptr));
    EXPECT_EQ(SizeOf(AsImage(image)), std::pair(6, 2));
    EXPECT_EQ(image->GetPixel(5, 1), 0xABABABABu);
}

TEST(HostImage, ResolutionChangesOnlyTheStoredValues)
{
    auto image = Blank(2, 2);
    FillWithMarkers(AsImage(image));
    const std::vector<uint8_t> before = BytesOf(AsImage(image));
    image->SetResolution(300, 150);
    EXPECT_EQ(ResolutionOf(AsImage(image)), std::pair(300, 150));
    EXPECT_EQ(BytesOf(AsImage(image)), before);
}

// ---------------------------------------------------------------- components

TEST(HostImage, AnswersEveryImageInterfaceWithTheSameObject)
{
    auto image = Blank(3, 2);
    IUnknown* identity = IdentityOf(AsImage(image));
    ASSERT_NE(identity, nullptr);
    for (const GUID* iid : {&IID_IImage, &IID_IBitmap, &IID_ICloneable, &IID_IResizableImage, &IID_IPixelAccess}) {
        void* out = nullptr;
        ASSERT_EQ(image->QueryInterface(*iid, &out), S_OK);
        ASSERT_NE(out, nullptr);
        auto answered = CComPtr<IUnknown>::Adopt(static_cast<IUnknown*>(out));
        EXPECT_EQ(IdentityOf(answered.Get()), identity);
    }
    // Both views share one pixel buffer.
    auto bitmap = CComPtr<IBitmap>::Query(AsImage(image), IID_IBitmap);
    auto pixels = CComPtr<IPixelAccess>::Query(AsImage(image), IID_IPixelAccess);
    pixels->SetPixel(2, 1, 0x11223344u);
    EXPECT_EQ(WordAt(AsImage(image), 2, 1), 0x11223344u);
    EXPECT_EQ(bitmap->GetPixels(), image->GetPixels());
}

TEST(HostImage, RefusesOtherInterfacesAndClearsTheOutPointer)
{
    auto image = Blank(3, 2);
    for (const GUID* iid : {&IID_IHostLanguage, &IID_IProgress}) {
        void* out = &image;
        EXPECT_EQ(image->QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(image->QueryInterface(IID_IImage, nullptr), E_INVALIDARG);
    // Neither refusal took a reference.
    EXPECT_EQ(image->AddRef(), 2u);
    EXPECT_EQ(image->Release(), 1u);
}

TEST(HostImage, ReferenceCountsFollowAddRefReleaseAndQueries)
{
    CHostImage* image = CHostImage::Create(2, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->AddRef(), 2u);
    void* bitmap = nullptr;
    ASSERT_EQ(image->QueryInterface(IID_IBitmap, &bitmap), S_OK);
    EXPECT_EQ(image->AddRef(), 4u);
    EXPECT_EQ(static_cast<IBitmap*>(bitmap)->Release(), 3u);
    EXPECT_EQ(image->Release(), 2u);
    EXPECT_EQ(image->Release(), 1u);
    EXPECT_EQ(image->Release(), 0u);
}

// ---------------------------------------------------------------- line cursor

TEST(HostImage, LineCursorStartsAtTheBottomOrTheTopRowAndWalks)
{
    auto image = Blank(3, 4);
    const int stride = image->GetStride();
    uint8_t* rowZero = image->GetPixels();

    CComPtr<ILineCursor> bottom;
    ASSERT_TRUE(image->GetLineCursor(0, bottom.Receive()));
    EXPECT_EQ(bottom->GetLineSize(), stride);
    EXPECT_EQ(bottom->GetLine(), rowZero);
    bottom->Next();
    EXPECT_EQ(bottom->GetLine(), rowZero + stride);
    bottom->Previous();
    bottom->Previous();
    EXPECT_EQ(bottom->GetLine(), nullptr);

    CComPtr<ILineCursor> top;
    ASSERT_TRUE(image->GetLineCursor(-1, top.Receive()));
    EXPECT_EQ(top->GetLine(), rowZero + 3 * stride);
    top->Previous();
    EXPECT_EQ(top->GetLine(), rowZero + 2 * stride);
    top->Next();
    top->Next();
    EXPECT_EQ(top->GetLine(), nullptr);

    CComPtr<ILineCursor> middle;
    ASSERT_TRUE(image->GetLineCursor(2, middle.Receive()));
    EXPECT_EQ(middle->GetLine(), rowZero + 2 * stride);
}

TEST(HostImage, LineCursorRefusesRowsOutsideTheImage)
{
    auto image = Blank(3, 4);
    for (const int row : {4, 100, -2}) {
        ILineCursor* cursor = nullptr;
        EXPECT_FALSE(image->GetLineCursor(row, &cursor)) << row;
        EXPECT_EQ(cursor, nullptr);
    }
    EXPECT_FALSE(image->GetLineCursor(0, nullptr));
    auto empty = ImagePtr::Adopt(CHostImage::CreateEmpty());
    ILineCursor* cursor = nullptr;
    EXPECT_FALSE(empty->GetLineCursor(0, &cursor));
}

TEST(HostImage, LineCursorWritesReachTheImage)
{
    auto image = Blank(2, 3);
    CComPtr<ILineCursor> cursor;
    ASSERT_TRUE(image->GetLineCursor(-1, cursor.Receive()));
    cursor->GetLine()[4] = 0x5A;  // blue of x = 1 on the top row
    EXPECT_EQ(image->GetPixel(1, 2), 0x5Au);
}

TEST(HostImage, LineCursorHoldsOneReferenceToTheImage)
{
    auto image = Blank(2, 2);
    ILineCursor* cursor = nullptr;
    ASSERT_TRUE(image->GetLineCursor(0, &cursor));
    EXPECT_EQ(image->AddRef(), 3u);
    EXPECT_EQ(cursor->Release(), 0u);
    EXPECT_EQ(image->Release(), 1u);
}

TEST(HostImage, LineCursorKeepsTheImageAlive)
{
    CHostImage* image = CHostImage::Create(2, 2);
    ASSERT_NE(image, nullptr);
    image->SetPixel(1, 1, 0x00C0FFEEu);
    ILineCursor* cursor = nullptr;
    ASSERT_TRUE(image->GetLineCursor(1, &cursor));
    EXPECT_EQ(image->Release(), 1u);
    // The sanitizer build turns a freed buffer read here into a failure.
    const uint8_t* line = cursor->GetLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line[4], 0xEE);
    EXPECT_EQ(line[6], 0xC0);
    EXPECT_EQ(cursor->Release(), 0u);
}

// ---------------------------------------------------------------- crop

struct CropCase {
    int left, top, right, bottom;
    // What the clipped rectangle is, in picture coordinates (y from the top).
    int clippedLeft, clippedTop, clippedRight, clippedBottom;
};

class HostImageCrop : public ::testing::TestWithParam<CropCase> {};

TEST_P(HostImageCrop, HoldsTheRectangleAsSeenFromTheTopLeft)
{
    const CropCase c = GetParam();
    auto image = Blank(7, 5);
    image->SetResolution(240, 120);
    FillWithMarkers(AsImage(image));

    CComPtr<IUnknown> croppedUnknown;
    ASSERT_TRUE(image->Crop(c.left, c.top, c.right, c.bottom, croppedUnknown.Receive()));
    auto cropped = CComPtr<IImage>::Query(croppedUnknown.Get(), IID_IImage);
    ASSERT_TRUE(cropped);
    const auto [width, height] = SizeOf(cropped.Get());
    ASSERT_EQ(std::pair(width, height), std::pair(c.clippedRight - c.clippedLeft, c.clippedBottom - c.clippedTop));
    EXPECT_EQ(cropped->GetStride(), width * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(SeenAt(cropped.Get(), x, y), SeenAt(AsImage(image), c.clippedLeft + x, c.clippedTop + y))
                << "at " << x << "," << y;
        }
    }
    EXPECT_EQ(ResolutionOf(cropped.Get()), std::pair(240, 120));
    // The crop is a copy: the source keeps its pixels when the crop changes.
    const uint32_t seen = SeenAt(AsImage(image), c.clippedLeft, c.clippedTop);
    std::memset(cropped->GetPixels(), 0, static_cast<size_t>(width * height * 4));
    EXPECT_EQ(SeenAt(AsImage(image), c.clippedLeft, c.clippedTop), seen);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, HostImageCrop,
                         ::testing::Values(CropCase{2, 1, 5, 4, 2, 1, 5, 4},      // inside
                                           CropCase{0, 0, 7, 5, 0, 0, 7, 5},      // whole picture
                                           CropCase{0, 0, 7, 1, 0, 0, 7, 1},      // top row only
                                           CropCase{6, 4, 7, 5, 6, 4, 7, 5},      // bottom-right pixel
                                           CropCase{-3, -2, 3, 10, 0, 0, 3, 5},   // clipped on three sides
                                           CropCase{4, 2, 99, 99, 4, 2, 7, 5}));  // clipped right and bottom

TEST(HostImage, CropRefusesAnEmptyRectangle)
{
    auto image = Blank(7, 5);
    struct Rectangle {
        int left, top, right, bottom;
    };
    for (const Rectangle r : {Rectangle{3, 1, 3, 4}, Rectangle{1, 2, 5, 2}, Rectangle{5, 1, 2, 4},
                              Rectangle{7, 0, 9, 5}, Rectangle{0, 5, 7, 8}, Rectangle{-4, -4, 0, 0}}) {
        IUnknown* cropped = nullptr;
        EXPECT_FALSE(image->Crop(r.left, r.top, r.right, r.bottom, &cropped))
            << r.left << " " << r.top << " " << r.right << " " << r.bottom;
        EXPECT_EQ(cropped, nullptr);
    }
    EXPECT_FALSE(image->Crop(0, 0, 2, 2, nullptr));
}

// ---------------------------------------------------------------- clone

TEST(HostImage, CloneIsAnIndependentCopyWithTheResolution)
{
    auto image = Blank(4, 3);
    image->SetResolution(300, 72);
    FillWithMarkers(AsImage(image));
    const std::vector<uint8_t> original = BytesOf(AsImage(image));

    CComPtr<IUnknown> cloneUnknown;
    ASSERT_TRUE(image->Clone(cloneUnknown.Receive()));
    auto clone = CComPtr<IImage>::Query(cloneUnknown.Get(), IID_IImage);
    ASSERT_TRUE(clone);
    EXPECT_NE(IdentityOf(clone.Get()), IdentityOf(AsImage(image)));
    EXPECT_NE(clone->GetPixels(), image->GetPixels());
    EXPECT_EQ(BytesOf(clone.Get()), original);
    EXPECT_EQ(ResolutionOf(clone.Get()), std::pair(300, 72));

    std::memset(clone->GetPixels(), 0x3C, original.size());
    clone->SetResolution(96, 96);
    EXPECT_EQ(BytesOf(AsImage(image)), original);
    EXPECT_EQ(ResolutionOf(AsImage(image)), std::pair(300, 72));

    image->SetPixel(0, 0, 0);
    EXPECT_EQ(WordAt(clone.Get(), 0, 0), 0x3C3C3C3Cu);
}

TEST(HostImage, CloneOfAnImageWithoutPixelsIsRefused)
{
    auto empty = ImagePtr::Adopt(CHostImage::CreateEmpty());
    IUnknown* clone = nullptr;
    EXPECT_FALSE(empty->Clone(&clone));
    EXPECT_EQ(clone, nullptr);
    EXPECT_FALSE(Blank(2, 2)->Clone(nullptr));
}

// ---------------------------------------------------------------- single pixels

TEST(HostImage, PixelAccessUsesBottomUpRowsAndBlueInTheLowByte)
{
    auto image = Blank(4, 3);
    FillWithMarkers(AsImage(image));
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(image->GetPixel(x, row), Marker(x, row)) << x << "," << row;
    }
    image->SetPixel(3, 0, 0xFF102030u);
    const uint8_t* pixel = image->GetPixels() + 3 * 4;
    EXPECT_EQ(pixel[0], 0x30);  // blue
    EXPECT_EQ(pixel[1], 0x20);  // green
    EXPECT_EQ(pixel[2], 0x10);  // red
    EXPECT_EQ(pixel[3], 0xFF);
}

TEST(HostImage, PixelAccessOutsideTheImageReadsZeroAndWritesNothing)
{
    auto image = Blank(4, 3);
    FillWithMarkers(AsImage(image));
    const std::vector<uint8_t> before = BytesOf(AsImage(image));
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {4, 0}, {0, 3}, {0, -1}, {4, 3}}) {
        EXPECT_EQ(image->GetPixel(x, y), 0u) << x << "," << y;
        image->SetPixel(x, y, 0xFFFFFFFFu);
    }
    EXPECT_EQ(BytesOf(AsImage(image)), before);
}

// ---------------------------------------------------------------- plug-in host

TEST(PluginHost, CreateImageGivesAnEmptyImageWithTheModelsResolution)
{
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
    auto model = Blank(5, 5);
    model->SetResolution(300, 200);

    CComPtr<IImage> created;
    ASSERT_TRUE(host->CreateImage(created.Receive(), AsImage(model)));
    ASSERT_TRUE(created);
    EXPECT_EQ(SizeOf(created.Get()), std::pair(0, 0));
    EXPECT_EQ(created->GetPixels(), nullptr);
    EXPECT_EQ(ResolutionOf(created.Get()), std::pair(300, 200));

    // Sized the way a filter sizes it, through IBitmap.
    auto bitmap = CComPtr<IBitmap>::Query(created.Get(), IID_IBitmap);
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(bitmap->Allocate(3, 2, 32, nullptr));
    EXPECT_EQ(bitmap->GetBufferSize(), 24);
    EXPECT_NE(created->GetPixels(), nullptr);
    EXPECT_EQ(ResolutionOf(created.Get()), std::pair(300, 200));
}

TEST(PluginHost, CreateImageWithoutAnImageModelKeepsTheDefaultResolution)
{
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
    for (IUnknown* like : {static_cast<IUnknown*>(nullptr), static_cast<IUnknown*>(static_cast<IPluginHost*>(host.Get()))}) {
        CComPtr<IImage> created;
        ASSERT_TRUE(host->CreateImage(created.Receive(), like));
        EXPECT_EQ(ResolutionOf(created.Get()), std::pair(+CHostImage::kDefaultResolution, +CHostImage::kDefaultResolution));
    }
    EXPECT_FALSE(host->CreateImage(nullptr, nullptr));
}

TEST(PluginHost, AnswersTheLanguageItWasCreatedWith)
{
    for (const uint16_t language : {uint16_t{0x0409}, uint16_t{0x0407}, uint16_t{0x040C}}) {
        auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(language));
        auto asked = CComPtr<IHostLanguage>::Query(static_cast<IPluginHost*>(host.Get()), IID_IHostLanguage);
        ASSERT_TRUE(asked);
        EXPECT_EQ(asked->GetLanguage() & 0xFFFFu, language);
        EXPECT_EQ(IdentityOf(asked.Get()), IdentityOf(static_cast<IPluginHost*>(host.Get())));
    }
}

TEST(PluginHost, RefusesImageInterfaces)
{
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409));
    void* out = host.Get();
    EXPECT_EQ(host->QueryInterface(IID_IImage, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(host->QueryInterface(IID_IHostLanguage, nullptr), E_INVALIDARG);
}

} // namespace
