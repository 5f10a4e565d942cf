#include "Common/status/Status.h"

#include <new>

CStatus::CStatus(StatusCode code, int extra) : m_code(code), m_extra(extra) {}

CStatus::CStatus(SystemErrorNumber error, int extra) : m_systemError(error.value), m_extra(extra) {}

CStatus::CStatus(const char16_t* message, int extra) : m_message(message != nullptr ? message : u""), m_extra(extra) {}

CStatus::CStatus(IDisplayable* inner) : m_inner(inner)
{
    if (m_inner != nullptr) m_inner->AddRef();
}

CStatus::~CStatus()
{
    if (m_inner != nullptr) m_inner->Release();
}

void CStatus::RecordSource(const char* file, int line)
{
    m_file = WidenUtf8(file != nullptr ? file : "");
    m_line = line;
}

HRESULT CStatus::QueryInterface(REFIID iid, void** object)
{
    return AnswerQueryInterface(object, [&]() -> IUnknown* {
        if (iid == IID_IUnknown || iid == IID_IStatus || iid == IID_IStatusEx) return static_cast<IStatusEx*>(this);
        if (iid == IID_IDisplayable && m_inner != nullptr) return static_cast<IDisplayable*>(this);
        return nullptr;
    });
}

ULONG CStatus::AddRef()
{
    return m_refs.Increment();
}

ULONG CStatus::Release()
{
    const ULONG left = m_refs.Decrement();
    if (left == 0) delete this;
    return left;
}

HWND CStatus::Display(HWND parent)
{
    if (m_inner == nullptr || parent == nullptr) return nullptr;
    return m_inner->Display(parent);
}

bool ReportStatus(IStatus** status, StatusCode code, std::source_location where)
{
    if (status == nullptr) return false;
    auto* created = new (std::nothrow) CStatus(code, 0);
    if (created == nullptr) return false;
    created->RecordSource(where.file_name(), static_cast<int>(where.line()));
    *status = created;
    return false;
}
