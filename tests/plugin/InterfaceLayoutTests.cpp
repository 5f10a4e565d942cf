// Hosts built by other compilers call the module through tables of virtual
// functions, so every operation must sit in its agreed slot.

#include "plugin/ComponentInterfaces.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// In the Itanium C++ ABI a pointer to a virtual member function holds one plus the
// function's byte offset in the table of virtual functions.
template <class Member>
int SlotOf(Member member)
{
    struct Representation {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    } representation{};
    static_assert(sizeof(Member) == sizeof(Representation));
    std::memcpy(&representation, &member, sizeof representation);
    EXPECT_EQ(representation.pointer % sizeof(void*), 1u) << "not a virtual function";
    return static_cast<int>((representation.pointer - 1) / sizeof(void*));
}

} // namespace

TEST(InterfaceLayout, UnknownComesFirstEverywhere)
{
    EXPECT_EQ(SlotOf(&IUnknown::QueryInterface), 0);
    EXPECT_EQ(SlotOf(&IUnknown::AddRef), 1);
    EXPECT_EQ(SlotOf(&IUnknown::Release), 2);
}

TEST(InterfaceLayout, ComponentsAndFactories)
{
    EXPECT_EQ(SlotOf(&IHaveID::GetID), 0);
    EXPECT_EQ(SlotOf(&IComponentBase::GetName), 3);
    EXPECT_EQ(SlotOf(&IComponentBase::GetType), 4);
    EXPECT_EQ(SlotOf(&IComponentBase::GetFlags), 5);
    EXPECT_EQ(SlotOf(&IComponentBase::GetIcon), 6);
    EXPECT_EQ(SlotOf(&IComponentBase::GetOrder), 7);
    EXPECT_EQ(SlotOf(&IComponent::Initialize), 8);
    EXPECT_EQ(SlotOf(&IComponent::Uninitialize), 9);
    EXPECT_EQ(SlotOf(&IFilterFactory::CreateFilter), 10);
    EXPECT_EQ(SlotOf(&IComponentEnum::GetCount), 3);
    EXPECT_EQ(SlotOf(&IComponentEnum::GetAt), 4);
}

TEST(InterfaceLayout, FiltersAndStatuses)
{
    EXPECT_EQ(SlotOf(&IHaveFormat::SetFormat), 0);
    EXPECT_EQ(SlotOf(&IHaveFormat::GetFormat), 1);
    EXPECT_EQ(SlotOf(&IFilter::IsInteractive), 3);
    EXPECT_EQ(SlotOf(&IFilter::FilterReserved4), 4);
    EXPECT_EQ(SlotOf(&IFilter::Apply), 5);
    EXPECT_EQ(SlotOf(&IStatus::GetCode), 3);
    EXPECT_EQ(SlotOf(&IStatus::GetSystemError), 4);
    EXPECT_EQ(SlotOf(&IStatus::GetMessage), 5);
    EXPECT_EQ(SlotOf(&IStatus::GetExtra), 6);
    EXPECT_EQ(SlotOf(&IStatusEx::GetSourceFile), 7);
    EXPECT_EQ(SlotOf(&IStatusEx::GetSourceLine), 8);
    EXPECT_EQ(SlotOf(&IDisplayable::Display), 3);
}

TEST(InterfaceLayout, HostImagesAndBitmaps)
{
    EXPECT_EQ(SlotOf(&IImage::GetStride), 5);
    EXPECT_EQ(SlotOf(&IImage::GetResolution), 6);
    EXPECT_EQ(SlotOf(&IImage::SetResolution), 7);
    EXPECT_EQ(SlotOf(&IImage::GetSize), 8);
    EXPECT_EQ(SlotOf(&IImage::GetLineCursor), 9);
    EXPECT_EQ(SlotOf(&IImage::Crop), 10);
    EXPECT_EQ(SlotOf(&IImage::GetPixels), 16);
    EXPECT_EQ(SlotOf(&IImage::GetBitmap), 17);
    EXPECT_EQ(SlotOf(&IBitmap::GetStride), 5);
    EXPECT_EQ(SlotOf(&IBitmap::GetSize), 8);
    EXPECT_EQ(SlotOf(&IBitmap::GetPixels), 16);
    EXPECT_EQ(SlotOf(&IBitmap::GetBufferSize), 17);
    EXPECT_EQ(SlotOf(&IBitmap::Allocate), 20);
    EXPECT_EQ(SlotOf(&ILineCursor::GetLine), 3);
    EXPECT_EQ(SlotOf(&ILineCursor::GetLineSize), 4);
    EXPECT_EQ(SlotOf(&ILineCursor::Next), 5);
    EXPECT_EQ(SlotOf(&ILineCursor::Previous), 6);
}

TEST(InterfaceLayout, HostServices)
{
    EXPECT_EQ(SlotOf(&IProgress::SetText), 3);
    EXPECT_EQ(SlotOf(&IProgress::Step), 4);
    EXPECT_EQ(SlotOf(&IProgress::Finish), 5);
    EXPECT_EQ(SlotOf(&ICloneable::Clone), 3);
    EXPECT_EQ(SlotOf(&IPluginHost::CreateImage), 13);
    EXPECT_EQ(SlotOf(&IResizableImage::Resize), 3);
    EXPECT_EQ(SlotOf(&IHostLanguage::GetLanguage), 3);
    EXPECT_EQ(SlotOf(&IPixelAccess::GetPixel), 3);
    EXPECT_EQ(SlotOf(&IPixelAccess::SetPixel), 4);
}
