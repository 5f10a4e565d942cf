#pragma once
// How the hosts show a component's icon: GetIcon names a module file and a position
// in that module's icon list, and the picture is read from the file itself, without
// loading the module, as a desktop shell reads the icon resources of a library.

#include <QImage>
#include <QString>

// Picture number index (from 0) of the module file's icon section. Null when the file
// cannot be read, is not a little-endian 64-bit ELF file, has no icon section or no
// icon of that number, or when the picture does not decode. A truncated or corrupt
// file gives null as well: nothing is read outside the file.
QImage LoadModuleIcon(const QString& modulePath, int index);
