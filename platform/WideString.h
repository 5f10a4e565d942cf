#pragma once
// UTF-16 text as the module exchanges it, and the few printf patterns it writes.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

using WString = std::u16string;
using WStringView = std::u16string_view;

WString WidenUtf8(std::string_view utf8);
std::string NarrowToUtf8(WStringView text);

// Length of a zero-terminated wide string; 0 for null.
size_t WideLength(const char16_t* text);

// One argument of FormatWide: %d takes an int, %lf and %f a double, %s a wide string.
using FormatArg = std::variant<int, double, WStringView>;

// printf for the patterns the module writes ("%d", "%lf", "%d|%d|%d|%d",
// "\nFile: %s, Line: %d"); "%%" writes a percent sign. A directive whose argument
// is missing or of another kind is written as it stands.
WString FormatWide(WStringView pattern, std::initializer_list<FormatArg> args);

// Case-insensitive equality of ASCII letters, as parameter keys are compared.
bool EqualsIgnoringCase(WStringView a, WStringView b);
