#pragma once
// What the editor remembers from run to run: each filter's last settings, the
// quality of JPEG and WebP files, and the last folder. Lives in the application's
// QSettings.

#include "platform/Unknown.h"
#include "platform/WideString.h"

#include <QString>

class CEditorSettings {
public:
    static constexpr int kDefaultSaveQuality = 92;

    // The parameter text last accepted for the filter with that class identifier;
    // empty when it was never used.
    WString FilterFormat(const GUID& filterId) const;
    void SetFilterFormat(const GUID& filterId, const WString& format);

    int SaveQuality() const;
    void SetSaveQuality(int quality);

    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

    // The filter framework's "StatusEx" switch: status texts also name the failing
    // source line. It lives with the framework's settings, not the editor's.
    static bool StatusDiagnosticsEnabled();
};

// "DA1CAF9D-236E-42F3-BBA6-5C7C8BB9CE6A"
QString GuidText(const GUID& id);
