#pragma once
// Dialog texts in the module's current language, as Qt strings.

#include <QString>

QString DialogText(unsigned stringId);
