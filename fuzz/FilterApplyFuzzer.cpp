// Every filter's apply on a small fuzzed picture with a fuzzed parameter text and
// selection, a cancel at a fuzzed progress step and the host refusing a fuzzed
// allocation. BF_FUZZ_FILTER names the filter (its menu path's last part, any
// letter case); without it the input's first byte chooses. The rules checked are
// those of the robustness test: a result exactly on success, a known status on
// failure, nothing handed out after a cancel, the source unchanged, no reference
// kept.
//
// Input: filter, width, height, cancel step, refused call, selection left, top,
// right, bottom (one byte each), the text's length in UTF-16 units (two bytes, low
// first), the text, then pixels (repeated to fill the picture).

#include "tests/robustness/ApplyRules.h"
#include "tests/robustness/FaultyHost.h"

#include "Common/base/InteractiveInterfaces.h"
#include "filters/shared/parallel/RowBands.h"
#include "platform/ComPtr.h"
#include "plugin/ModuleFactories.h"
#include "refhost/PreviewSite.h"
#include "refhost/RecordingProgress.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kHeaderSize = 11;
constexpr int kLargestSide = 48;

void Require(bool condition)
{
    if (!condition) std::abort();
}

std::string Lowered(const char16_t* text)
{
    std::string out;
    for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(std::tolower(*text & 0x7F));
    return out;
}

std::string LastPart(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The factory BF_FUZZ_FILTER names, or null to let each input choose.
CFilterFactoryBase* NamedFactory()
{
    const char* wanted = std::getenv("BF_FUZZ_FILTER");
    if (wanted == nullptr || *wanted == 0) return nullptr;
    std::string name(wanted);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    for (CFilterFactoryBase* factory : ModuleFactories()) {
        const std::string path = Lowered(factory->GetName());
        if (path == name || LastPart(path) == name) return factory;
    }
    std::abort();  // a misspelt name would fuzz nothing
}

// BF_FUZZ_FILTER=list prints the names scripts/fuzz.sh runs the target with.
void ListFiltersIfAsked()
{
    const char* wanted = std::getenv("BF_FUZZ_FILTER");
    if (wanted == nullptr || std::string(wanted) != "list") return;
    for (CFilterFactoryBase* factory : ModuleFactories()) {
        std::printf("%s\n", LastPart(NarrowToUtf8(WStringView(factory->GetName()))).c_str());
    }
    std::exit(0);
}

CFaultyHost* Host()
{
    static CFaultyHost* host = [] {
        CFaultyHost* made = CFaultyHost::Create();
        for (CFilterFactoryBase* factory : ModuleFactories()) factory->Initialize(static_cast<IPluginHost*>(made), 0);
        return made;
    }();
    return host;
}

CComPtr<CFaultyImage> Picture(int width, int height, const uint8_t* pixels, size_t size)
{
    auto picture = CComPtr<CFaultyImage>::Adopt(CFaultyImage::Make(width, height));
    uint8_t* bits = picture->GetPixels();
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    for (size_t i = 0; size > 0 && i < bytes; ++i) bits[i] = pixels[i % size];
    return picture;
}

void ApplyAndCheck(IFilter* filter, CFaultyImage* source, int cancelAt, int refuseAt, bool mayFailWithoutStatus)
{
    const std::vector<uint8_t> before(source->GetPixels(), source->GetPixels() + source->GetBufferSize());
    HostBudget() = AllocationBudget{};
    HostBudget().refuseAt = refuseAt;
    HostBudget().largestPixels = 1 << 20;
    auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAt));
    CComPtr<IImage> result;
    CComPtr<IStatus> status;
    ApplyRecord run;
    run.applied = filter->Apply(nullptr, result.Receive(), progress.Get(), status.Receive());
    run.handedOut = static_cast<bool>(result);
    run.code = status ? status->GetCode() : 0;
    run.cancelAt = cancelAt;
    run.events = progress->Events();
    const std::string broken = BrokenApplyRule(run, mayFailWithoutStatus);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    if (result) {
        int width = 0;
        int height = 0;
        result->GetSize(&width, &height);
        Require(width > 0 && height > 0 && result->GetPixels() != nullptr);
        volatile uint8_t sum = 0;
        for (int row = 0; row < height; ++row) {
            const uint8_t* line = result->GetPixels() + static_cast<ptrdiff_t>(row) * result->GetStride();
            for (int i = 0; i < width * 4; ++i) sum = sum + line[i];
        }
    }
    Require(std::memcmp(before.data(), source->GetPixels(), before.size()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ListFiltersIfAsked();
    SetKernelThreadCount(1);
    Host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < kHeaderSize) return 0;
    static CFilterFactoryBase* const named = NamedFactory();
    const auto factories = ModuleFactories();
    CFilterFactoryBase* factory = named != nullptr ? named : factories[data[0] % factories.size()];
    const int width = 1 + data[1] % kLargestSide;
    const int height = 1 + data[2] % kLargestSide;
    const int cancelAt = data[3] == 0xFF ? CRecordingProgress::kNeverCancel : data[3];
    const int refuseAt = data[4] >= 0xF0 ? -1 : data[4] % 8;
    const WString selection = WidenUtf8(std::to_string(data[5] % (width + 2)) + " " +
                                        std::to_string(data[6] % (height + 2)) + " " +
                                        std::to_string(data[7] % (width + 2)) + " " + std::to_string(data[8] % (height + 2)));
    const size_t units = std::min<size_t>(data[9] | data[10] << 8, (size - kHeaderSize) / 2);
    WString text(units, u'\0');
    for (size_t i = 0; i < units; ++i) {
        text[i] = static_cast<char16_t>(data[kHeaderSize + 2 * i] | data[kHeaderSize + 2 * i + 1] << 8);
    }
    const size_t pixelsAt = kHeaderSize + 2 * units;

    Host();
    CComPtr<CFaultyImage> source = Picture(width, height, data + pixelsAt, size - pixelsAt);
    {
        CComPtr<IFilter> filter;
        CComPtr<IStatus> status;
        if (!factory->CreateFilter(static_cast<IImage*>(source.Get()), filter.Receive(), status.Receive())) {
            Require(static_cast<bool>(status));
            return 0;
        }
        filter->SetFormat(text.c_str());
        auto site = CComPtr<CPreviewSite>::Adopt(CPreviewSite::Create(nullptr));
        site->SelectByUser(selection.c_str());
        if (auto interactive = CComPtr<IInteractiveFilter>::Query(filter.Get(), IID_IInteractiveFilter)) {
            interactive->SetPreviewSite(site.Get());
            interactive->SelectionChanged();
        }
        const std::string path = NarrowToUtf8(WStringView(factory->GetName()));
        ApplyAndCheck(filter.Get(), source.Get(), cancelAt, refuseAt, MayFailWithoutStatus(path));
    }
    source->AddRef();
    Require(source->Release() == 1);
    source.Reset();
    Require(CFaultyImage::Live() == 0);
    return 0;
}
