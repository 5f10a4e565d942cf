#pragma once
// A filter without settings: it holds its source (and, where its factory keeps one,
// the host object), ignores SetFormat and answers 0 to GetFormat. Subclasses
// write Apply from the steps this base offers.

#include "Common/base/FilterInputs.h"
#include "Common/base/FilterInterfaces.h"
#include "platform/RefCount.h"

class CPlainFilter : public IFilter {
public:
    CPlainFilter(IUnknown* source, IPluginHost* host, unsigned progressTextId);
    CPlainFilter(const CPlainFilter&) = delete;
    CPlainFilter& operator=(const CPlainFilter&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    void SetFormat(const char16_t*) override {}
    int GetFormat(char16_t*, int) override { return 0; }

    bool IsInteractive() override { return false; }
    bool FilterReserved4(uint32_t) override { return false; }

protected:
    virtual ~CPlainFilter() = default;

    const char16_t* ProgressText() { return m_inputs.ProgressText(); }
    IUnknown* InputOr(IUnknown* input) const { return m_inputs.InputOr(input); }
    IUnknown* Source() const { return m_inputs.Source(); }
    IPluginHost* Host() const { return m_inputs.Host(); }

private:
    CRefCount m_refs;
    CFilterInputs m_inputs;
};
