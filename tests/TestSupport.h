#pragma once
// Helpers the tests share: owning references, and small synthetic pictures.

#include "Common/base/InteractiveInterfaces.h"
#include "platform/ComPtr.h"
#include "platform/WideString.h"
#include "plugin/ModuleFactories.h"
#include "refhost/HostImage.h"
#include "refhost/RecordingProgress.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A width x height image whose pixel (x, y) is pixel(x, y); y counts from the bottom row.
inline CComPtr<CHostImage> MakeImage(int width, int height, const std::function<uint32_t(int, int)>& pixel)
{
    auto image = CComPtr<CHostImage>::Adopt(CHostImage::Create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image->Row(y)[x] = pixel(x, y);
    }
    return image;
}

// The pixels of image row by row, the bottom row first.
inline std::vector<uint32_t> PixelsOf(IImage* image)
{
    int width = 0;
    int height = 0;
    image->GetSize(&width, &height);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image->GetPixels() + ptrdiff_t{y} * image->GetStride());
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

// An image's width and height, or its two resolutions, as one comparable value.
inline std::pair<int, int> SizeOf(IImage* image)
{
    std::pair<int, int> size{0, 0};
    image->GetSize(&size.first, &size.second);
    return size;
}

inline std::pair<int, int> ResolutionOf(IImage* image)
{
    std::pair<int, int> resolution{0, 0};
    image->GetResolution(&resolution.first, &resolution.second);
    return resolution;
}

// Same size and same pixels; a failure names the first pixel that differs.
inline ::testing::AssertionResult SamePixels(IImage* actual, IImage* expected)
{
    const auto [width, height] = SizeOf(expected);
    if (SizeOf(actual) != SizeOf(expected))
        return ::testing::AssertionFailure() << "size " << SizeOf(actual).first << "x" << SizeOf(actual).second
                                             << ", expected " << width << "x" << height;
    const std::vector<uint32_t> got = PixelsOf(actual);
    const std::vector<uint32_t> wanted = PixelsOf(expected);
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (got[i] != wanted[i])
            return ::testing::AssertionFailure() << "pixel (" << i % width << ", " << i / width << ") is " << std::hex
                                                 << got[i] << ", expected " << wanted[i];
    }
    return ::testing::AssertionSuccess();
}

// The pixel a person sees at (x, y), y counted from the top edge.
inline uint32_t SeenAt(IImage* image, int x, int yFromTop)
{
    const int row = SizeOf(image).second - 1 - yFromTop;
    return reinterpret_cast<const uint32_t*>(image->GetPixels() + ptrdiff_t{row} * image->GetStride())[x];
}

inline CComPtr<CRecordingProgress> Recorder(int cancelAtStep = CRecordingProgress::kNeverCancel)
{
    return CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
}

// Every pixel different, and the fourth byte varying too, so that a misplaced or
// half-copied pixel shows.
inline uint32_t DistinctPixel(int x, int y)
{
    return 0x01000000u * static_cast<uint32_t>(7 * x + 3 * y + 1) + 0x00010000u * static_cast<uint32_t>(x) +
           0x00000100u * static_cast<uint32_t>(y) + 0x5Au;
}

// Empty when both pictures have the same size and the same ARGB value at every
// pixel; else what differs first.
inline std::string FirstPixelDifference(const QImage& expected, const QImage& actual)
{
    if (expected.isNull() || actual.isNull()) return "a picture is missing";
    if (expected.size() != actual.size()) return "sizes differ";
    const QImage a = expected.convertToFormat(QImage::Format_ARGB32);
    const QImage b = actual.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.pixel(x, y)) +
                       " != " + std::to_string(b.pixel(x, y));
        }
    }
    return {};
}

// Delivers what is posted (a dialog's store and reload messages), and what that
// posts in turn.
inline void PumpPostedEvents()
{
    for (int round = 0; round < 4; ++round) QCoreApplication::sendPostedEvents();
}

// The reference count an object has now (AddRef then Release tells it).
inline ULONG RefCountOf(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

// The interactive filter of factory, made for source and given format (when not
// null) as its parameter text.
inline CComPtr<IInteractiveFilter> CreateInteractiveFilter(CFilterFactoryBase& factory, IUnknown* source,
                                                           const char16_t* format)
{
    CComPtr<IFilter> made;
    EXPECT_TRUE(factory.CreateFilter(source, made.Receive(), nullptr));
    auto filter = CComPtr<IInteractiveFilter>::Query(made.Get(), IID_IInteractiveFilter);
    if (filter && format != nullptr) filter->SetFormat(format);
    return filter;
}

// What a failing Apply left behind: the status code (0 without a status), whether a
// result was stored anyway, and every progress call.
struct FailedApply {
    int code = 0;
    bool storedResult = false;
    std::vector<CRecordingProgress::Event> events;
};

// Applies filter to input (null: the factory's source) with a sink that cancels at
// step cancelAtStep; withResult false passes a null result out-pointer.
inline FailedApply ApplyExpectingFailure(IFilter* filter, IUnknown* input, int cancelAtStep, bool withResult = true)
{
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    FailedApply failed;
    EXPECT_FALSE(filter->Apply(input, withResult ? result.Receive() : nullptr, progress.Get(), status.Receive()));
    failed.code = status ? status->GetCode() : 0;
    failed.storedResult = static_cast<bool>(result);
    failed.events = progress->Events();
    return failed;
}

// The Step calls first to last of total as ProgressCalls writes them.
inline std::string StepCalls(int first, int last, int total)
{
    std::string steps;
    for (int done = first; done <= last; ++done)
        steps += "Step " + std::to_string(done) + "/" + std::to_string(total) + ";";
    return steps;
}

// A sink's calls as one line: "SetText Inverting;Step 0/3;Finish true;".
inline std::string ProgressCalls(const std::vector<CRecordingProgress::Event>& events)
{
    std::string calls;
    for (const auto& event : events) {
        switch (event.call) {
        case CRecordingProgress::Call::SetText: calls += "SetText " + NarrowToUtf8(event.text) + ";"; break;
        case CRecordingProgress::Call::Step:
            calls += "Step " + std::to_string(event.done) + "/" + std::to_string(event.total) + ";";
            break;
        case CRecordingProgress::Call::Finish: calls += event.success ? "Finish true;" : "Finish false;"; break;
        }
    }
    return calls;
}
