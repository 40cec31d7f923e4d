#include "store/textcodec.h"

#include <gtest/gtest.h>

namespace {

struct SDecodeCase
{
    const char* what;
    QByteArray bytes;
    QString expected;
};

class DecodeTest : public testing::TestWithParam<SDecodeCase>
{
};

TEST_P(DecodeTest, ReadsUtf8OrElseWindows1252)
{
    EXPECT_EQ(TextCodec::Decode(GetParam().bytes), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Text, DecodeTest,
    testing::Values(
        SDecodeCase{"ascii", "Call back", u"Call back"_qs},
        SDecodeCase{"utf-8 two and three bytes", "Caf\xC3\xA9 \xE2\x82\xAC",
                    u"Caf\u00E9 \u20AC"_qs},
        SDecodeCase{"utf-8 four bytes", "\xF0\x9F\x8E\xA4", QString::fromUcs4(U"\U0001F3A4")},
        SDecodeCase{"latin letter of an old device", "Caf\xE9", u"Caf\u00E9"_qs},
        SDecodeCase{"1252 specials", "\x80\x85\x99\x9F", u"\u20AC\u2026\u2122\u0178"_qs},
        SDecodeCase{"1252 undefined bytes keep their value", "\x81\x8D\x8F\x90\x9D",
                    u"\u0081\u008D\u008F\u0090\u009D"_qs},
        SDecodeCase{"overlong slash is not utf-8", "a\xC0\xAF", u"a\u00C0\u00AF"_qs},
        SDecodeCase{"encoded surrogate is not utf-8", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_qs},
        SDecodeCase{"sequence cut at the end", "x\xE2\x82", u"x\u00E2\u201A"_qs},
        SDecodeCase{"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"_qs}));

struct STruncateCase
{
    const char* what;
    QByteArray bytes;
    qsizetype max;
    QByteArray expected;
};

class TruncateTest : public testing::TestWithParam<STruncateCase>
{
};

TEST_P(TruncateTest, NeverSplitsASequence)
{
    const QByteArray cut = TextCodec::TruncateUtf8(GetParam().bytes, GetParam().max);
    EXPECT_EQ(cut, GetParam().expected) << GetParam().what;
    EXPECT_TRUE(TextCodec::IsValidUtf8(cut));
}

INSTANTIATE_TEST_SUITE_P(
    Text, TruncateTest,
    testing::Values(STruncateCase{"fits", "abc", 3, "abc"},
                    STruncateCase{"plain cut", "abcdef", 4, "abcd"},
                    STruncateCase{"two-byte letter dropped whole", "a\xC3\xA9", 2, "a"},
                    STruncateCase{"three-byte sign, one short", "\xE2\x82\xAC", 2, ""},
                    STruncateCase{"three-byte sign fits", "\xE2\x82\xAC!", 3, "\xE2\x82\xAC"},
                    STruncateCase{"four-byte sign, one short", "a\xF0\x9F\x8E\xA4", 4, "a"},
                    STruncateCase{"negative limit", "abc", -1, ""}));

} // namespace
