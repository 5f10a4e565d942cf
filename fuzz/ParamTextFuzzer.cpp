// The parameter-text reader on any UTF-16 text (the input's bytes in pairs) and any
// narrow text: parsing never fails hard, writing what was read and reading it again
// gives the same pairs, and every number reader answers without undefined
// behaviour and only with numbers a setting may hold.

#include "Common/params/ParamList.h"
#include "Common/params/SettingNumbers.h"
#include "Common/params/ShapeText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

void ReadEveryValue(const CParamList& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const char16_t* key = list.KeyAt(i);
        int whole = 0;
        double real = 0.0;
        RECT rect{};
        if (list.GetInt(key, whole)) Require(IsSettingNumber(whole));
        if (list.GetDouble(key, real)) Require(IsSettingNumber(real));
        if (list.GetRect(key, rect)) {
            Require(IsSettingNumber(rect.left) && IsSettingNumber(rect.top) && IsSettingNumber(rect.right) &&
                    IsSettingNumber(rect.bottom));
        }
        ShapeNumbers shape{};
        if (ReadShapeText(list.ValueAt(i), shape)) {
            for (const int number : shape) Require(IsSettingNumber(number));
        }
        // The first pair with the key, in any letter case, is the one Get finds.
        Require(list.Get(key) != nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WString text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    CParamList list;
    const int parsed = list.Parse(text.c_str());
    Require(parsed == 0 || parsed == 1 || parsed == 2);
    Require(parsed != 1 || list.Count() == 0);
    ReadEveryValue(list);

    const WString written = list.ToString();
    CParamList again;
    Require(again.Parse(written.c_str()) == 0);
    Require(again.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        Require(WString(again.KeyAt(i)) == list.KeyAt(i));
        Require(WString(again.ValueAt(i)) == list.ValueAt(i));
    }

    const std::string narrow(reinterpret_cast<const char*>(data), size);
    const CParamList fromNarrow(narrow.c_str());
    ReadEveryValue(fromNarrow);
    return 0;
}
