#include "platform/WideString.h"
#include "tests/GermanNumbers.h"

#include <gtest/gtest.h>

TEST(FormatWide, WritesThePatternsOfParameterTexts)
{
    EXPECT_EQ(FormatWide(u"%d", {-42}), u"-42");
    EXPECT_EQ(FormatWide(u"%lf", {0.5}), u"0.500000");
    EXPECT_EQ(FormatWide(u"%lf", {-1234.5678}), u"-1234.567800");
    EXPECT_EQ(FormatWide(u"%d|%d|%d|%d", {1, -2, 30, 400}), u"1|-2|30|400");
    EXPECT_EQ(FormatWide(u"%d %d %d %d", {0, 0, 640, 480}), u"0 0 640 480");
    EXPECT_EQ(FormatWide(u"\nFile: %s, Line: %d", {WStringView(u"a.cpp"), 17}), u"\nFile: a.cpp, Line: 17");
    EXPECT_EQ(FormatWide(u"100%%", {}), u"100%");
}

// The hosts run under the user's locale; a German one must not turn 12.5 into
// "12,500000", which every reader of parameter texts takes as 12.
TEST(FormatWide, WritesAPointUnderAnyLocale)
{
    const CGermanNumbers german;
    if (!german.Active()) GTEST_SKIP() << "no German locale could be had";
    EXPECT_EQ(FormatWide(u"%lf", {12.5}), u"12.500000");
    EXPECT_EQ(FormatWide(u"angle:%lf", {-0.0000004}), u"angle:-0.000000");
    EXPECT_EQ(FormatWide(u"%lf", {1e20}), u"100000000000000000000.000000");
    EXPECT_EQ(FormatWide(u"%d", {-1234567}), u"-1234567");
}

TEST(FormatWide, LeavesDirectivesWithoutMatchingArgumentsAsWritten)
{
    EXPECT_EQ(FormatWide(u"%d and %d", {1}), u"1 and %d");
    EXPECT_EQ(FormatWide(u"%d", {2.5}), u"%d");
    EXPECT_EQ(FormatWide(u"ends with %", {}), u"ends with %");
}

TEST(Utf8, RoundTripsEveryPlaneAndRepairsMalformedInput)
{
    const WString text = u"a\u00e9\u20ac\U0001F600z";
    EXPECT_EQ(WidenUtf8(NarrowToUtf8(text)), text);
    EXPECT_EQ(NarrowToUtf8(u"\u00e9"), "\xC3\xA9");
    // A lone continuation byte and a truncated sequence both become U+FFFD.
    EXPECT_EQ(WidenUtf8("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(WidenUtf8("a\xE2\x82"), u"a\uFFFD");
    // A lone surrogate cannot be written as UTF-8.
    EXPECT_EQ(NarrowToUtf8(WString(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(EqualsIgnoringCase, ComparesLettersWithoutCase)
{
    EXPECT_TRUE(EqualsIgnoringCase(u"Angle", u"aNGLE"));
    EXPECT_FALSE(EqualsIgnoringCase(u"Angle", u"Angles"));
    EXPECT_FALSE(EqualsIgnoringCase(u"a:", u"a;"));
    EXPECT_EQ(WideLength(nullptr), 0u);
    EXPECT_EQ(WideLength(u"abc"), 3u);
}
