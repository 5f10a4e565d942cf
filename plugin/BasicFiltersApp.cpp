#include "plugin/BasicFiltersApp.h"

#include "platform/Localization.h"

#include <QSettings>

namespace {

constexpr uint32_t kLocalizationMode = 1;

} // namespace

CBasicFiltersApp& CBasicFiltersApp::Instance()
{
    static CBasicFiltersApp instance;
    return instance;
}

CBasicFiltersApp::CBasicFiltersApp()
    : m_registryKey(QStringLiteral("Tavi\\Tavi8\\") + QStringLiteral("Tavi Lumivista Shared"))
{
    CLocalization::Instance().SetMode(kLocalizationMode);
}

bool CBasicFiltersApp::ReadBool(const QString& name, bool fallback) const
{
    // The key's first part is the organisation, the rest the application's path.
    QString path = m_registryKey;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString organization = path.section(QLatin1Char('/'), 0, 0);
    const QString application = path.section(QLatin1Char('/'), 1, -1, QString::SectionSkipEmpty);
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organization, application);
    return settings.value(name, fallback).toBool();
}
