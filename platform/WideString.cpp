#include "platform/WideString.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(WString& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; malformed input becomes U+FFFD so that
// a file name or parameter text in a foreign encoding never aborts the host.
char32_t DecodeUtf8(std::string_view text, size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i++]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0) { extra = 1; c = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; c = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; c = lead & 0x07; }
    else return kReplacement;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return c > 0x10FFFF ? kReplacement : c;
}

void AppendAscii(WString& out, const char* text)
{
    for (; *text != '\0'; ++text) out += static_cast<char16_t>(*text);
}

bool AppendArgument(WString& out, char directive, const FormatArg* arg)
{
    if (arg == nullptr) return false;
    char buffer[400];  // the longest double in fixed notation, with its six decimals
    if (directive == 'd' && std::holds_alternative<int>(*arg)) {
        std::snprintf(buffer, sizeof buffer, "%d", std::get<int>(*arg));
    } else if (directive == 'f' && std::holds_alternative<double>(*arg)) {
        // As "%f" writes in the classic locale: a point, whatever the user's locale.
        const auto written = std::to_chars(buffer, buffer + sizeof buffer - 1, std::get<double>(*arg),
                                           std::chars_format::fixed, 6);
        *written.ptr = '\0';
    } else if (directive == 's' && std::holds_alternative<WStringView>(*arg)) {
        out += std::get<WStringView>(*arg);
        return true;
    } else {
        return false;
    }
    AppendAscii(out, buffer);
    return true;
}

} // namespace

WString WidenUtf8(std::string_view utf8)
{
    WString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) AppendUtf16(out, DecodeUtf8(utf8, i));
    return out;
}

std::string NarrowToUtf8(WStringView text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

size_t WideLength(const char16_t* text)
{
    return text == nullptr ? 0 : std::char_traits<char16_t>::length(text);
}

WString FormatWide(WStringView pattern, std::initializer_list<FormatArg> args)
{
    WString out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        if (pattern[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // "%lf" is printf's way of saying double; it reads the same as "%f".
        const size_t skip = (pattern[i + 1] == u'l' && i + 2 < pattern.size()) ? 2 : 1;
        const char directive = static_cast<char>(pattern[i + skip]);
        const FormatArg* arg = next != args.end() ? &*next : nullptr;
        if (AppendArgument(out, directive, arg)) {
            ++next;
            i += skip;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

bool EqualsIgnoringCase(WStringView a, WStringView b)
{
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}
