#include "plugin/ComponentName.h"

#include "platform/Localization.h"

const char16_t* CComponentName::Get()
{
    if (m_cached.empty()) CLocalization::Instance().LoadString(m_stringId, m_cached);
    return m_cached.c_str();
}
