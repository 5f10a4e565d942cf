#include "platform/DialogText.h"

#include "platform/Localization.h"

QString DialogText(unsigned stringId)
{
    const WString text = LoadModuleString(stringId);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
