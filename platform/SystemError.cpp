#include "platform/SystemError.h"

#include <cstring>
#include <string>

bool SystemErrorText(int number, WString& text)
{
    char buffer[256];
    // The GNU strerror_r answers a pointer that may or may not be the buffer.
    const char* message = strerror_r(number, buffer, sizeof buffer);
    if (message == nullptr) return false;
    // glibc invents "Unknown error N" for numbers it does not know; that is no text.
    if (std::strncmp(message, "Unknown error", 13) == 0) return false;
    text = WidenUtf8(message);
    return true;
}
