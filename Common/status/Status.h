#pragma once
// A failure travelling back to the host: a code, optional texts, and the source
// file and line of the failing check as a diagnostic.

#include "Common/base/FilterInterfaces.h"
#include "platform/RefCount.h"
#include "platform/WideString.h"

#include <source_location>

enum StatusCode : int {
    kStatusPluginManager = 1,
    kStatusAlreadyRegistered = 2,
    kStatusLoadingFailed = 3,
    kStatusUnsupportedFormat = 4,
    kStatusInvalidArgument = 5,
    kStatusHostRefused = 6,
    kStatusFileNotFound = 7,
    kStatusCancelled = 8,
    kStatusOutOfMemory = 9,
    kStatusReadError = 10,
    kStatusWriteError = 11,
};

// An operating-system error number, told apart from a status code by its type.
struct SystemErrorNumber {
    int value;
};

class CStatus final : public IStatusEx, public IDisplayable {
public:
    CStatus() = default;
    CStatus(StatusCode code, int extra);
    CStatus(SystemErrorNumber error, int extra);
    CStatus(const char16_t* message, int extra);
    // Takes a reference on the displayable, which then answers for the status.
    explicit CStatus(IDisplayable* inner);
    CStatus(const CStatus&) = delete;
    CStatus& operator=(const CStatus&) = delete;

    void RecordSource(const char* file, int line);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    int GetCode() override { return m_code; }
    int GetSystemError() override { return m_systemError; }
    const char16_t* GetMessage() override { return m_message.empty() ? nullptr : m_message.c_str(); }
    int GetExtra() override { return m_extra; }
    const char16_t* GetSourceFile() override { return m_file.c_str(); }
    int GetSourceLine() override { return m_line; }

    HWND Display(HWND parent) override;

private:
    ~CStatus();

    int m_code = 0;
    int m_systemError = 0;
    WString m_message;
    int m_extra = 0;
    IDisplayable* m_inner = nullptr;
    WString m_file;
    int m_line = 0;
    CRefCount m_refs;
};

// Creates a status with code and the caller's file and line, and stores it through
// status when the caller asked for one. Answers false, so that a failing check
// can end with "return ReportStatus(status, code);".
bool ReportStatus(IStatus** status, StatusCode code,
                  std::source_location where = std::source_location::current());
