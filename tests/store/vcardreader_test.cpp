#include "store/vcardreader.h"
#include "support/casename.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct SCase
{
    const char* name;
    QByteArray text;
    QStringList expected; // "given|additional|family" per contact, in order
};

QStringList Flatten(const std::vector<SPimContact>& contacts)
{
    QStringList rows;
    for (const SPimContact& c : contacts)
        rows.append(c.given + u'|' + c.additional + u'|' + c.family);
    return rows;
}

QByteArray Card(const QByteArray& body, const QByteArray& version = "3.0")
{
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

class VCardReaderTest : public testing::TestWithParam<SCase>
{
};

TEST_P(VCardReaderTest, ReadsNameParts)
{
    const SCase& c = GetParam();
    EXPECT_EQ(Flatten(CVCardReader::Parse(c.text)), c.expected);
}

// clang-format off
const SCase kCases[] = {
    {"parts_in_given_additional_family_order",
     Card("N:Family;Given;Middle;Dr.;Jr.\r\n"), {"Given|Middle|Family"}},
    {"several_cards_keep_file_order",
     Card("N:Lee;Ann;;;\r\n") + Card("N:Zed;Bob;;;\r\n", "4.0") + Card("N:Adams;Cy;;;\r\n", "2.1"),
     {"Ann||Lee", "Bob||Zed", "Cy||Adams"}},
    {"no_final_newline",
     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD", {"Ann||Lee"}},
    {"carriage_returns_stripped", "BEGIN:VCARD\r\r\nN:Lee;Ann;;;\r\r\nEND:VCARD\r\r\n", {"Ann||Lee"}},
    {"lf_line_ends", "BEGIN:VCARD\nVERSION:4.0\nN:Lee;Ann;;;\nEND:VCARD\n", {"Ann||Lee"}},
    {"missing_end_at_end_of_file", "BEGIN:VCARD\r\nN:Lee;Ann;;;\r\n", {"Ann||Lee"}},
    {"missing_end_before_next_card",
     "BEGIN:VCARD\r\nN:Lee;Ann;;;\r\nBEGIN:VCARD\r\nN:Zed;Bob;;;\r\nEND:VCARD\r\n",
     {"Ann||Lee", "Bob||Zed"}},
    {"lines_outside_cards_ignored", "N:Out;Side;;;\r\n" + Card("N:Lee;Ann;;;\r\n"), {"Ann||Lee"}},
    {"first_name_property_wins", Card("N:Lee;Ann;;;\r\nN:Other;Name;;;\r\n"), {"Ann||Lee"}},
    {"empty_and_corrupt_lines_skipped",
     "\r\n\r\nBEGIN:VCARD\r\n\r\ngarbage without colon\r\n:no name\r\nN:Lee;Ann;;;\r\n\r\nEND:VCARD\r\n\r\n",
     {"Ann||Lee"}},
    {"case_insensitive_names_and_groups",
     "begin:vcard\r\nitem1.n:Lee;Ann;;;\r\nEnd:VCard\r\n", {"Ann||Lee"}},
    {"short_value_fills_missing_parts", Card("N:Lee\r\n"), {"||Lee"}},
    {"parts_trimmed", Card("N: Lee ; Ann ;  ;;\r\n"), {"Ann||Lee"}},
    {"empty_name_falls_back_to_fn", Card("N:;;;Dr.;Jr.\r\nFN:Dr. Nobody\r\n"), {"Dr. Nobody||"}},
    {"no_name_property_falls_back_to_fn", Card("FN:Ann\\, Lee\r\nORG:Acme\r\n", "4.0"), {"Ann, Lee||"}},
    {"neither_name_nor_fn_not_listed", Card("ORG:Acme\r\n"), {}},
    {"utf8_byte_order_mark", "\xEF\xBB\xBF" + Card("N:Lee;Ann;;;\r\n"), {"Ann||Lee"}},
    {"utf16_with_byte_order_mark",
     [] { QByteArray b("\xFF\xFE"); const QString t = QString::fromLatin1(Card("N:Lee;Ann;;;\r\n"));
          b.append(reinterpret_cast<const char*>(t.utf16()), t.size() * 2); return b; }(),
     {"Ann||Lee"}},
    {"shift_jis_0x5c_is_no_escape", Card("N;CHARSET=SHIFT_JIS:\x95\x5C;\x83\x5C\x83\x74\x83\x42\x81\x5B;;;\r\n", "2.1"),
     {QString::fromUtf8("\xE3\x82\xBD\xE3\x83\x95\xE3\x82\xA3\xE3\x83\xBC||\xE8\xA1\xA8")}},
    {"greek_charset_quoted_printable", Card("N;CHARSET=ISO-8859-7;ENCODING=QUOTED-PRINTABLE:=C1=ED=ED=E1;;;;\r\n", "2.1"),
     {QString::fromUtf8("||\xCE\x91\xCE\xBD\xCE\xBD\xCE\xB1")}},
    {"long_soft_break_chain", Card("N;ENCODING=QUOTED-PRINTABLE:" + QByteArray("a=\r\n").repeated(20000) + "b;;;;\r\n", "2.1"),
     {"||" + QString(20000, u'a') + "b"}},
    {"blank_parts_not_listed", Card("N: ; ;\t;;\r\n"), {}},
    {"empty_text", "", {}},
    {"not_a_vcard", "just some text\nwith lines\n", {}},
    {"utf8_unicode", Card("N:M\xC3\xBCller;J\xC3\xBCrgen;;;\r\n", "4.0"),
     {QString::fromUtf8("J\xC3\xBCrgen||M\xC3\xBCller")}},
    {"utf8_outside_bmp", Card("N:\xF0\x9F\x98\x80;Ann;;;\r\n"),
     {QString::fromUtf8("Ann||\xF0\x9F\x98\x80")}},
    {"invalid_utf8_read_as_windows_1252", Card("N:Ren\xE9\x80;;;;\r\n"),
     {QString::fromUtf8("||Ren\xC3\xA9\xE2\x82\xAC")}},
    {"folded_with_space_and_tab", Card("N:Le\r\n e;A\r\n\tnn;;;\r\n"), {"Ann||Lee"}},
    {"escapes", Card("N:O\\;Brien;Mary\\, Ann;back\\\\slash;;\r\n"),
     {"Mary, Ann|back\\slash|O;Brien"}},
    {"escaped_newline", Card("N:Lee;Ann\\nMarie;;;\r\n"), {"Ann\nMarie||Lee"}},
    {"unknown_escape_kept", Card("N:Lee;A\\qb;;;\r\n"), {"A\\qb||Lee"}},
    {"quoted_printable_utf8",
     Card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\r\n", "2.1"),
     {QString::fromUtf8("J\xC3\xBCrgen||M\xC3\xBCller")}},
    {"quoted_printable_soft_breaks",
     Card("N;ENCODING=QUOTED-PRINTABLE:Lon=\r\ngname;Pe=\r\nter;;;\r\n", "2.1"), {"Peter||Longname"}},
    {"soft_break_keeps_leading_space_of_next_line",
     Card("N;QUOTED-PRINTABLE:Van=\r\n Dyke;Ann;;;\r\n", "2.1"), {"Ann||Van Dyke"}},
    {"soft_break_at_end_of_file", "BEGIN:VCARD\r\nN;QUOTED-PRINTABLE:Lee;Ann=", {"Ann||Lee"}},
    {"bare_2_1_parameters_latin1", Card("N;QUOTED-PRINTABLE;CHARSET=ISO-8859-1:M=FCller;;;;\r\n", "2.1"),
     {QString::fromUtf8("||M\xC3\xBCller")}},
    {"windows_1252_charset", Card("N;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:=80uro;=93Q=94;;;\r\n", "2.1"),
     {QString::fromUtf8("\xE2\x80\x9CQ\xE2\x80\x9D||\xE2\x82\xAC" "uro")}},
    {"encoded_semicolon_is_text", Card("N;ENCODING=QUOTED-PRINTABLE:A=3BB;Ann;;;\r\n", "2.1"),
     {"Ann||A;B"}},
    {"broken_quoted_printable_kept_literally",
     Card("N;ENCODING=QUOTED-PRINTABLE:A=ZZ=4;B=;;;\r\n", "2.1"), {"B=||A=ZZ=4"}},
    {"base64", Card("N;ENCODING=b:" + QByteArray("Lee;Ann;;;").toBase64() + "\r\n"), {"Ann||Lee"}},
    {"quoted_parameter_with_colon", Card("N;SORT-AS=\"Lee:x,Ann\":Lee;Ann;;;\r\n", "4.0"),
     {"Ann||Lee"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cards, VCardReaderTest, testing::ValuesIn(kCases), testsupport::SByName());

} // namespace
