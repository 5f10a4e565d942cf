#include "apps/editor/EditorSettings.h"

#include <QSettings>

namespace {

const QString kFilterGroup = QStringLiteral("FilterSettings/");
const QString kSaveQualityKey = QStringLiteral("Save/Quality");
const QString kLastFolderKey = QStringLiteral("Open/LastFolder");

QString HexWord(uint32_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString GuidText(const GUID& id)
{
    QString text = HexWord(id.Data1, 8) + u'-' + HexWord(id.Data2, 4) + u'-' + HexWord(id.Data3, 4) + u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) text += u'-';
        text += HexWord(id.Data4[i], 2);
    }
    return text;
}

WString CEditorSettings::FilterFormat(const GUID& filterId) const
{
    return QSettings().value(kFilterGroup + GuidText(filterId)).toString().toStdU16String();
}

void CEditorSettings::SetFilterFormat(const GUID& filterId, const WString& format)
{
    QSettings().setValue(kFilterGroup + GuidText(filterId), QString::fromStdU16String(format));
}

int CEditorSettings::SaveQuality() const
{
    const int quality = QSettings().value(kSaveQualityKey, kDefaultSaveQuality).toInt();
    return quality >= 0 && quality <= 100 ? quality : kDefaultSaveQuality;
}

void CEditorSettings::SetSaveQuality(int quality)
{
    QSettings().setValue(kSaveQualityKey, quality);
}

QString CEditorSettings::LastFolder() const
{
    return QSettings().value(kLastFolderKey).toString();
}

void CEditorSettings::SetLastFolder(const QString& folder)
{
    QSettings().setValue(kLastFolderKey, folder);
}

bool CEditorSettings::StatusDiagnosticsEnabled()
{
    const QSettings framework(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavi"),
                              QStringLiteral("Tavi8/Tavi Lumivista Shared"));
    return framework.value(QStringLiteral("StatusEx"), false).toBool();
}
