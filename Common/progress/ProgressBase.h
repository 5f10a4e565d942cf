#pragma once
// The counted-object part of every progress sink: the adapters that filters with
// several passes put before the host's sink, and the hosts' own sinks.

#include "host/HostInterfaces.h"
#include "platform/RefCount.h"

class CProgressBase : public IProgress {
public:
    CProgressBase(const CProgressBase&) = delete;
    CProgressBase& operator=(const CProgressBase&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

protected:
    CProgressBase() = default;
    virtual ~CProgressBase() = default;

private:
    CRefCount m_refs;
};
