#include "Common/params/ParamList.h"
#include "Common/params/StrArrayEx.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<WString, WString>>;

Pairs PairsOf(const CParamList& list)
{
    Pairs pairs;
    for (int i = 0; i < list.Count(); ++i) pairs.emplace_back(list.KeyAt(i), list.ValueAt(i));
    return pairs;
}

CParamList ListWith(const char16_t* key, const char16_t* value)
{
    CParamList list;
    list.Set(key, value);
    return list;
}

// ---------------------------------------------------------------- CStrArrayEx

TEST(StrArrayEx, UnsortedAppendsAndFindsTheFirstMatchIgnoringCase)
{
    CStrArrayEx array;
    EXPECT_FALSE(array.IsSorted());
    for (const char16_t* text : {u"b", u"A", u"a"}) array.Add(text);
    ASSERT_EQ(array.Count(), 3);
    EXPECT_EQ(array.At(0), u"b");
    EXPECT_EQ(array.At(2), u"a");
    EXPECT_EQ(array.Find(u"a"), 1);
    EXPECT_EQ(array.Find(u"B"), 0);
    EXPECT_EQ(array.Find(u"c"), -1);
    array.RemoveAll();
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Find(u"a"), -1);
}

TEST(StrArrayEx, SortedKeepsTheCaseInsensitiveOrder)
{
    CStrArrayEx array(true);
    for (const char16_t* text : {u"delta", u"Alpha", u"charlie", u"ALPHA", u"Bravo", u"ab"}) array.Add(text);
    const std::vector<WString> expected{u"ab", u"Alpha", u"ALPHA", u"Bravo", u"charlie", u"delta"};
    ASSERT_EQ(array.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < array.Count(); ++i) EXPECT_EQ(array.At(i), expected[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(array.Find(u"alpha"), 1);
    EXPECT_EQ(array.Find(u"CHARLIE"), 4);
    EXPECT_EQ(array.Find(u"echo"), -1);
    EXPECT_EQ(array.Find(u"a"), -1);
}

// ---------------------------------------------------------------- Set and Get

TEST(ParamListSet, ReplacesTheValueAndLetterCaseOfAnExistingKey)
{
    CParamList list;
    ASSERT_TRUE(list.Set(u"ANGLE", u"10"));
    ASSERT_TRUE(list.Set(u"Other", u"x"));
    ASSERT_TRUE(list.Set(u"angle", u"20"));
    EXPECT_EQ(PairsOf(list), (Pairs{{u"angle", u"20"}, {u"Other", u"x"}}));
}

TEST(ParamListSet, RefusesANullKeyOrValueAndChangesNothing)
{
    CParamList list = ListWith(u"k", u"1");
    EXPECT_FALSE(list.Set(nullptr, u"2"));
    EXPECT_FALSE(list.Set(u"k", nullptr));
    EXPECT_FALSE(list.Set(u"new", nullptr));
    EXPECT_EQ(PairsOf(list), (Pairs{{u"k", u"1"}}));
}

TEST(ParamListGet, FindsKeysIgnoringCaseAndAnswersNullOtherwise)
{
    CParamList list = ListWith(u"MedianSize", u"5");
    ASSERT_NE(list.Get(u"mediansize"), nullptr);
    EXPECT_EQ(WString(list.Get(u"mediansize")), u"5");
    EXPECT_EQ(list.Get(u"Median"), nullptr);
    EXPECT_EQ(list.Get(nullptr), nullptr);
}

// ---------------------------------------------------------------- ToString

TEST(ParamListToString, WritesEachPairAsALineInListOrder)
{
    CParamList list;
    EXPECT_EQ(list.ToString(), u"");
    list.Set(u"b", u"2");
    list.Set(u"A", u"one");
    EXPECT_EQ(list.ToString(), u"b:2\nA:one\n");
}

TEST(ParamListToString, EscapesColonsAndBackslashesAndParsesBack)
{
    CParamList list = ListWith(u"a:b", u"c\\d");
    const WString text = list.ToString();
    EXPECT_EQ(text, u"a\\:b:c\\\\d\n");

    CParamList parsed;
    EXPECT_EQ(parsed.Parse(text.c_str()), 0);
    EXPECT_EQ(PairsOf(parsed), (Pairs{{u"a:b", u"c\\d"}}));
}

// ---------------------------------------------------------------- Parse

struct ParseCase {
    const char16_t* text;
    Pairs pairs;
    int result;
};

TEST(ParamListParse, TakesThePairsAndJudgesTheText)
{
    const ParseCase cases[] = {
        {u"", {}, 0},
        {u"Size:1", {{u"Size", u"1"}}, 0},
        {u"a:1\nb:2\n", {{u"a", u"1"}, {u"b", u"2"}}, 0},
        // A final key with nothing after it is dropped without complaint.
        {u"a:1\nb", {{u"a", u"1"}}, 0},
        {u"k\\\\ey:v\\:w\n", {{u"k\\ey", u"v:w"}}, 0},
        // A key, a separator, then directly a line feed: an empty value.
        {u"a:\n", {}, 1},
        {u"a:1\nb:\nc:3\n", {{u"a", u"1"}, {u"c", u"3"}}, 2},
        {u"\n", {}, 1},
        {u"a:1\n\n", {{u"a", u"1"}}, 2},
        // An unescaped colon in a value ends the pair; what follows is a key without value.
        {u"a:b:c\n", {{u"a", u"b"}}, 2},
        {u":1\n", {}, 1},
        // An escape stays pending over ordinary characters until a backslash or colon takes it.
        {u"a:\\x:y\n", {{u"a", u"x:y"}}, 0},
        // ... and a line feed read under it does not count as a separator.
        {u"a\\\n1\n", {}, 1},
    };
    for (const ParseCase& c : cases) {
        CParamList list;
        EXPECT_EQ(list.Parse(c.text), c.result) << NarrowToUtf8(c.text);
        EXPECT_EQ(PairsOf(list), c.pairs) << NarrowToUtf8(c.text);
    }
}

TEST(ParamListParse, ReplacesTheContentsButNotForANullText)
{
    CParamList list = ListWith(u"old", u"1");
    EXPECT_EQ(list.Parse(nullptr), 0);
    EXPECT_EQ(PairsOf(list), (Pairs{{u"old", u"1"}}));
    EXPECT_EQ(list.Parse(u"new:2\n"), 0);
    EXPECT_EQ(PairsOf(list), (Pairs{{u"new", u"2"}}));
    EXPECT_EQ(list.Parse(u"bad:\n"), 1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ParamListParse, KeepsDuplicateKeysAndLooksUpTheFirst)
{
    CParamList list(u"k:1\nK:2\n");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(WString(list.Get(u"k")), u"1");
    list.Set(u"K", u"3");
    EXPECT_EQ(PairsOf(list), (Pairs{{u"K", u"3"}, {u"K", u"2"}}));
}

TEST(ParamListConstruct, ParsesWideAndNarrowTextsAndToleratesNull)
{
    EXPECT_EQ(PairsOf(CParamList(u"a:1\nb:2\n")), (Pairs{{u"a", u"1"}, {u"b", u"2"}}));
    EXPECT_EQ(PairsOf(CParamList("W\xC3\xB6rter:gr\xC3\xB6\xC3\x9F" "e\nx:\xF0\x9F\x98\x80\n")),
              (Pairs{{u"W\u00F6rter", u"gr\u00F6\u00DFe"}, {u"x", u"\U0001F600"}}));
    EXPECT_EQ(CParamList("a:\n").Count(), 0);
    EXPECT_EQ(CParamList(static_cast<const char16_t*>(nullptr)).Count(), 0);
    EXPECT_EQ(CParamList(static_cast<const char*>(nullptr)).Count(), 0);
}

// ---------------------------------------------------------------- typed values

TEST(ParamListTyped, IntReadsTheLeadingDecimalInteger)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"12abc", 12}, {u"abc", 0}, {u"", 0}, {u"  -7", -7}, {u"+5", 5}, {u"3.9", 3},
        {u"0x1F", 0}, {u"- 4", 0}, {u"\u0663", 0}, {u"1000000000", 1000000000}, {u"-1000000000", -1000000000},
    };
    for (const auto& [text, expected] : cases) {
        int value = 77;
        EXPECT_TRUE(ListWith(u"n", text).GetInt(u"N", value)) << NarrowToUtf8(text);
        EXPECT_EQ(value, expected) << NarrowToUtf8(text);
    }
}

TEST(ParamListTyped, DoubleReadsTheLeadingFloatingPointNumber)
{
    const std::pair<const char16_t*, double> cases[] = {
        {u"0.500000", 0.5}, {u"2.5e1xyz", 25.0}, {u"abc", 0.0}, {u" -3.75px", -3.75}, {u"1,5", 1.0}, {u".25", 0.25},
    };
    for (const auto& [text, expected] : cases) {
        double value = 77.0;
        EXPECT_TRUE(ListWith(u"d", text).GetDouble(u"d", value)) << NarrowToUtf8(text);
        EXPECT_EQ(value, expected) << NarrowToUtf8(text);
    }
}

TEST(ParamListTyped, SettersWriteThePrintfPatterns)
{
    CParamList list;
    ASSERT_TRUE(list.SetInt(u"i", -42));
    ASSERT_TRUE(list.SetDouble(u"half", 0.5));
    ASSERT_TRUE(list.SetDouble(u"third", -1.0 / 3.0));
    ASSERT_TRUE(list.SetRect(u"r", 1, -2, 300, 4000));
    EXPECT_EQ(WString(list.Get(u"i")), u"-42");
    EXPECT_EQ(WString(list.Get(u"half")), u"0.500000");
    EXPECT_EQ(WString(list.Get(u"third")), u"-0.333333");
    EXPECT_EQ(WString(list.Get(u"r")), u"1|-2|300|4000");
    EXPECT_FALSE(list.SetInt(nullptr, 1));
    EXPECT_EQ(list.Count(), 4);
}

TEST(ParamListTyped, RectNeedsFourIntegersJoinedByBars)
{
    RECT rect{9, 9, 9, 9};
    EXPECT_TRUE(ListWith(u"r", u"1|-2|300|4000").GetRect(u"R", rect));
    EXPECT_EQ(rect, (RECT{1, -2, 300, 4000}));
    for (const char16_t* text : {u"10|20|30", u"1|2|3|x", u"1,2,3,4", u"1 |2|3|4", u"", u"a"}) {
        rect = RECT{9, 9, 9, 9};
        EXPECT_FALSE(ListWith(u"r", text).GetRect(u"r", rect)) << NarrowToUtf8(text);
        EXPECT_EQ(rect, (RECT{0, 0, 0, 0})) << NarrowToUtf8(text);
    }
}

TEST(ParamListTyped, MissingKeyAnswersFalseAndLeavesTheOutParameter)
{
    const CParamList list = ListWith(u"present", u"1|2|3|4");
    int i = 7;
    double d = 7.5;
    RECT rect{9, 8, 7, 6};
    EXPECT_FALSE(list.GetInt(u"absent", i));
    EXPECT_FALSE(list.GetDouble(u"absent", d));
    EXPECT_FALSE(list.GetRect(u"absent", rect));
    EXPECT_FALSE(list.GetInt(nullptr, i));
    EXPECT_EQ(i, 7);
    EXPECT_EQ(d, 7.5);
    EXPECT_EQ(rect, (RECT{9, 8, 7, 6}));
}

// ---------------------------------------------------------------- randomized

// Pieces texts are built from: separators, escapes, ASCII letters of both cases,
// and characters of two, three and four UTF-8 bytes (the last a surrogate pair).
const std::vector<WString> kPieces{u"a", u"A", u"z", u"7", u" ", u":", u"\\", u"\u00E9", u"\u4E2D", u"\U0001F600"};

WString RandomText(std::mt19937& random, const std::vector<WString>& pieces, int minLength, int maxLength)
{
    WString text;
    const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    for (int i = 0; i < length; ++i) text += pieces[pick(random)];
    return text;
}

bool SameKey(const WString& a, const WString& b)
{
    if (a.size() != b.size()) return false;
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c | 0x20) : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// What Set promises: replace the first pair of the same key, key letters included, or append.
void SetInModel(Pairs& model, const WString& key, const WString& value)
{
    for (auto& pair : model) {
        if (SameKey(pair.first, key)) {
            pair = {key, value};
            return;
        }
    }
    model.emplace_back(key, value);
}

TEST(ParamListRandomized, SetPairsSurviveTheTextRoundTrip)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        CParamList list;
        Pairs model;
        const int sets = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < sets; ++i) {
            // Short keys so that the same key in other letters comes up often.
            const WString key = RandomText(random, kPieces, 1, 3);
            const WString value = RandomText(random, kPieces, 1, 10);
            ASSERT_TRUE(list.Set(key.c_str(), value.c_str()));
            SetInModel(model, key, value);
        }
        ASSERT_EQ(PairsOf(list), model) << "round " << round;

        CParamList parsed;
        const WString text = list.ToString();
        ASSERT_EQ(parsed.Parse(text.c_str()), 0) << NarrowToUtf8(text);
        ASSERT_EQ(PairsOf(parsed), model) << NarrowToUtf8(text);
    }
}

TEST(ParamListRandomized, ArbitraryTextsGiveWellFormedPairs)
{
    std::vector<WString> pieces = kPieces;
    pieces.insert(pieces.end(), {u"\n", u":", u"\\"});
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        const WString text = RandomText(random, pieces, 0, 30);
        CParamList list;
        const int result = list.Parse(text.c_str());
        ASSERT_TRUE(result == 0 || (result == 1 && list.Count() == 0) || (result == 2 && list.Count() > 0))
            << result << " " << NarrowToUtf8(text);
        for (const auto& [key, value] : PairsOf(list)) {
            ASSERT_FALSE(key.empty() || value.empty()) << NarrowToUtf8(text);
            ASSERT_EQ((key + value).find(u'\n'), WString::npos) << NarrowToUtf8(text);
        }
        CParamList reparsed;
        ASSERT_EQ(reparsed.Parse(list.ToString().c_str()), 0) << NarrowToUtf8(text);
        ASSERT_EQ(PairsOf(reparsed), PairsOf(list)) << NarrowToUtf8(text);
    }
}

} // namespace
