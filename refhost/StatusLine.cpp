#include "refhost/StatusLine.h"

#include "Common/status/StatusDisplay.h"
#include "platform/WideString.h"

#include <algorithm>

std::string StatusLine(IStatus* status)
{
    const StatusPresentation shown = DescribeStatus(status, false);
    if (shown.kind == StatusPresentationKind::Displayable) return {};
    std::string text = NarrowToUtf8(shown.text);
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}
