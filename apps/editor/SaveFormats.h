#pragma once
// The file formats Save As offers: PNG, JPEG, BMP, and TIFF and WebP where Qt's
// image-format plug-ins are installed.

#include <QString>
#include <QStringList>

// "PNG image (*.png)" and so on, for a file dialog; the first is PNG.
QStringList SaveNameFilters();
// The suffix of a name filter ("jpg" for the JPEG one).
QString SuffixOfNameFilter(const QString& nameFilter);
bool IsWritableSuffix(const QString& suffix);
// Formats whose files trade size against quality.
bool TakesQuality(const QString& suffix);
