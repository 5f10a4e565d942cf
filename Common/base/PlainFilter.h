#pragma once
// A filter without settings: it holds its source (and, where its factory keeps one,
// the host object), ignores SetFormat and answers 0 to GetFormat. Its apply runs the
// common protocol; subclasses supply the pixel work.

#include "Common/base/FilterApply.h"
#include "Common/base/FilterInterfaces.h"
#include "platform/RefCount.h"

class CPlainFilter : public IFilter, protected CFilterApply {
public:
    CPlainFilter(IUnknown* source, IPluginHost* host, unsigned progressTextId, const ApplyOptions& options = {});
    CPlainFilter(const CPlainFilter&) = delete;
    CPlainFilter& operator=(const CPlainFilter&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void SetFormat(const char16_t*) override {}
    int GetFormat(char16_t*, int) override { return 0; }

    bool IsInteractive() override { return false; }
    bool FilterReserved4(uint32_t) override { return false; }
    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) final;

protected:
    ~CPlainFilter() override = default;

private:
    CRefCount m_refs;
};
