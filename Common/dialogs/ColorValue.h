#pragma once
// Colour values as parameter texts and controls carry them: 0x00BBGGRR, red in the
// low byte, the top byte unused.

#include <QColor>

#include <cstdint>

inline QColor ColorOfValue(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                  static_cast<int>(value >> 16 & 0xFF));
}

inline uint32_t ValueOfColor(const QColor& color)
{
    return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
           static_cast<uint32_t>(color.blue()) << 16;
}
