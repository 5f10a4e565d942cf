#pragma once
// The module's application object: the settings key of the framework and the
// start-up settings of the localisation facility.

#include <QString>

class CBasicFiltersApp {
public:
    // Built on first use, which the module's entry point makes happen at start-up.
    static CBasicFiltersApp& Instance();

    // "Tavi\Tavi8\Tavi Lumivista Shared": where the framework's own settings live.
    const QString& RegistryKey() const { return m_registryKey; }

    // A boolean setting under the key; fallback when it is absent.
    bool ReadBool(const QString& name, bool fallback) const;

    // The "StatusEx" switch: statuses shown to the user also tell their source line.
    bool StatusDiagnosticsEnabled() const { return ReadBool(QStringLiteral("StatusEx"), false); }

private:
    CBasicFiltersApp();

    QString m_registryKey;
};
