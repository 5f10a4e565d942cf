#include "Common/status/StatusDisplay.h"

#include "platform/ComPtr.h"
#include "platform/Localization.h"
#include "platform/SystemError.h"
#include "resources/StringIds.h"

namespace {

WString CodeText(int code)
{
    static constexpr unsigned kCodeTexts[] = {
        IDS_STATUS_PLUGIN_MANAGER,    IDS_STATUS_PLUGIN_MANAGER,     IDS_STATUS_ALREADY_REGISTERED,
        IDS_STATUS_LOADING_FAILED,    IDS_STATUS_UNSUPPORTED_FORMAT, IDS_STATUS_INVALID_ARGUMENT,
        IDS_STATUS_PLUGIN_MANAGER,    IDS_STATUS_FILE_NOT_FOUND,     IDS_STATUS_CANCELED,
        IDS_STATUS_OUT_OF_MEMORY,     IDS_STATUS_READ_ERROR,         IDS_STATUS_WRITE_ERROR,
    };
    if (code >= 0 && code < static_cast<int>(std::size(kCodeTexts))) return LoadModuleString(kCodeTexts[code]);
    return FormatWide(u"Plugin manager error %d", {code});
}

void AppendSourceDiagnostics(IStatus* status, WString& text)
{
    auto extended = CComPtr<IStatusEx>::Query(status, IID_IStatusEx);
    if (!extended) return;
    const char16_t* file = extended->GetSourceFile();
    text += FormatWide(u"\nFile: %s, Line: %d", {WStringView(file != nullptr ? file : u""), extended->GetSourceLine()});
}

} // namespace

StatusPresentation DescribeStatus(IStatus* status, bool withSourceDiagnostics)
{
    StatusPresentation shown;
    if (status == nullptr) return shown;
    if (CComPtr<IDisplayable>::Query(status, IID_IDisplayable)) {
        shown.kind = StatusPresentationKind::Displayable;
        return shown;
    }
    shown.kind = StatusPresentationKind::MessageBox;
    if (const char16_t* message = status->GetMessage(); message != nullptr && message[0] != u'\0') {
        shown.text = message;
    } else if (const int error = status->GetSystemError(); error != 0) {
        if (!SystemErrorText(error, shown.text)) return {};
        shown.kind = StatusPresentationKind::SystemErrorBox;
    } else if (const int code = status->GetCode(); code != 0) {
        shown.text = CodeText(code);
    } else {
        return {};
    }
    if (withSourceDiagnostics) AppendSourceDiagnostics(status, shown.text);
    return shown;
}

WString StatusErrorCaption()
{
    return LoadModuleString(IDS_STATUS_ERROR_CAPTION);
}
