#pragma once
// A filter without settings: it holds its source (and, where its factory keeps one,
// the host object), ignores SetFormat and answers 0 to GetFormat. Subclasses
// write Apply from the steps this base offers.

#include "Common/FilterInterfaces.h"
#include "platform/RefCount.h"
#include "platform/WideString.h"

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
    virtual ~CPlainFilter();

    // The progress text, loaded on the first call and kept for the filter's life.
    const char16_t* ProgressText();
    // The image to work on: the Apply argument, or the factory's source for null.
    IUnknown* InputOr(IUnknown* input) const { return input != nullptr ? input : m_source; }

    IUnknown* Source() const { return m_source; }
    IPluginHost* Host() const { return m_host; }

private:
    IUnknown* m_source;
    IPluginHost* m_host;
    CRefCount m_refs;
    unsigned m_progressTextId;
    WString m_progressText;
};
