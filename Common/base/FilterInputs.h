#pragma once
// What every filter object keeps from its factory: the source image, the host
// object where the factory keeps one, and its progress text.

#include "host/HostInterfaces.h"
#include "platform/WideString.h"

class CFilterInputs {
public:
    // Takes a reference on source and host (either may be null).
    CFilterInputs(IUnknown* source, IPluginHost* host, unsigned progressTextId);
    ~CFilterInputs();
    CFilterInputs(const CFilterInputs&) = delete;
    CFilterInputs& operator=(const CFilterInputs&) = delete;

    // Loaded on the first call and kept for the filter's life.
    const char16_t* ProgressText();
    // The image to work on: the Apply argument, or the factory's source for null.
    IUnknown* InputOr(IUnknown* input) const { return input != nullptr ? input : m_source; }

    IUnknown* Source() const { return m_source; }
    IPluginHost* Host() const { return m_host; }

private:
    IUnknown* m_source;
    IPluginHost* m_host;
    unsigned m_progressTextId;
    WString m_progressText;
};
