#include "store/textcodec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodecTest, DecodesUtf8OrElseWindows1252)
{
    for (const auto& [bytes, expected] : std::initializer_list<std::pair<QByteArray, QString>>{
             {"Caf\xC3\xA9 \xE2\x82\xAC", u"Caf\u00E9 \u20AC"_qs},
             {"\xF0\x9F\x8E\xA4", QString::fromUcs4(U"\U0001F3A4")},
             {"Caf\xE9", u"Caf\u00E9"_qs}, // a letter written by an old device
             {"\x80\x85\x99\x9F", u"\u20AC\u2026\u2122\u0178"_qs},
             {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"_qs}, // undefined: kept
             {"a\xC0\xAF", u"a\u00C0\u00AF"_qs},                             // overlong slash
             {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_qs},                     // encoded surrogate
             {"x\xE2\x82", u"x\u00E2\u201A"_qs},                             // cut at the end
             {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"_qs}})          // beyond U+10FFFF
        EXPECT_EQ(TextCodec::Decode(bytes), expected) << bytes.toHex().toStdString();
}

TEST(TextCodecTest, TruncationNeverSplitsASequence)
{
    for (const auto& [bytes, max, expected] :
         std::initializer_list<std::tuple<QByteArray, qsizetype, QByteArray>>{
             {"abc", 3, "abc"},
             {"abcdef", 4, "abcd"},
             {"a\xC3\xA9", 2, "a"},
             {"\xE2\x82\xAC", 2, ""},
             {"\xE2\x82\xAC!", 3, "\xE2\x82\xAC"},
             {"a\xF0\x9F\x8E\xA4", 4, "a"},
             {"abc", -1, ""}}) {
        const QByteArray cut = TextCodec::TruncateUtf8(bytes, max);
        EXPECT_EQ(cut, expected) << bytes.toHex().toStdString() << " to " << max;
        EXPECT_TRUE(TextCodec::IsValidUtf8(cut));
    }
}

} // namespace
