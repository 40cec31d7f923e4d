#include "store/vcardreader.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QByteArray Card(const QByteArray& body, const QByteArray& version = "3.0")
{
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

QByteArray Utf16(const QByteArray& latin1)
{
    const QString text = QString::fromLatin1(latin1);
    return "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Each case: the text, then "given|additional|family" per contact, in order.
TEST(VCardReaderTest, ReadsTheNamePartsOfEveryCard)
{
    // clang-format off
    for (const auto& [what, text, expected] :
         std::initializer_list<std::tuple<const char*, QByteArray, QStringList>>{
        {"parts_in_given_additional_family_order", Card("N:Family;Given;Middle;Dr.;Jr.\r\n"), {"Given|Middle|Family"}},
        {"several_cards_of_every_version_keep_file_order",
         Card("N:Lee;Ann;;;\r\n") + Card("N:Zed;Bob;;;\r\n", "4.0") + Card("N:Adams;Cy;;;\r\n", "2.1"),
         {"Ann||Lee", "Bob||Zed", "Cy||Adams"}},
        {"lf_and_repeated_carriage_returns", "BEGIN:VCARD\r\r\nVERSION:4.0\nN:Lee;Ann;;;\nEND:VCARD\n", {"Ann||Lee"}},
        {"missing_end_and_final_newline", "BEGIN:VCARD\r\nN:Lee;Ann;;;", {"Ann||Lee"}},
        {"missing_end_before_next_card", "BEGIN:VCARD\r\nN:Lee;Ann;;;\r\n" + Card("N:Zed;Bob;;;\r\n"),
         {"Ann||Lee", "Bob||Zed"}},
        {"lines_outside_cards_ignored", "N:Out;Side;;;\r\n" + Card("N:Lee;Ann;;;\r\n"), {"Ann||Lee"}},
        {"empty_and_corrupt_lines_skipped_first_name_wins",
         "\r\n\r\nBEGIN:VCARD\r\n\r\ngarbage\r\n:no name\r\nN:Lee;Ann;;;\r\n\r\nN:Other;Name;;;\r\nEND:VCARD\r\n\r\n",
         {"Ann||Lee"}},
        {"case_insensitive_names_and_groups", "begin:vcard\r\nitem1.n:Lee;Ann;;;\r\nEnd:VCard\r\n", {"Ann||Lee"}},
        {"short_trimmed_and_blank_parts",
         Card("N:Lee\r\n") + Card("N: Lee ; Ann ;  ;;\r\n") + Card("N: ; ;\t;;\r\n"), {"||Lee", "Ann||Lee"}},
        {"fn_stands_in_for_an_empty_or_missing_name",
         Card("N:;;;Dr.;Jr.\r\nFN:Dr. Nobody\r\n") + Card("FN:Ann\\, Lee\r\n", "4.0") + Card("ORG:Acme\r\n"),
         {"Dr. Nobody||", "Ann, Lee||"}},
        {"utf8_byte_order_mark", "\xEF\xBB\xBF" + Card("N:Lee;Ann;;;\r\n"), {"Ann||Lee"}},
        {"utf16_with_byte_order_mark", Utf16(Card("N:Lee;Ann;;;\r\n")), {"Ann||Lee"}},
        {"utf8_inside_and_outside_the_bmp", Card("N:M\xC3\xBCller;\xF0\x9F\x98\x80;;;\r\n"),
         {QString::fromUtf8("\xF0\x9F\x98\x80||M\xC3\xBCller")}},
        {"invalid_utf8_read_as_windows_1252", Card("N:Ren\xE9\x80;;;;\r\n"),
         {QString::fromUtf8("||Ren\xC3\xA9\xE2\x82\xAC")}},
        {"shift_jis_0x5c_is_no_escape",
         Card("N;CHARSET=SHIFT_JIS:\x95\x5C;\x83\x5C\x83\x74\x83\x42\x81\x5B;;;\r\n", "2.1"),
         {QString::fromUtf8("\xE3\x82\xBD\xE3\x83\x95\xE3\x82\xA3\xE3\x83\xBC||\xE8\xA1\xA8")}},
        {"greek_charset_quoted_printable",
         Card("N;CHARSET=ISO-8859-7;ENCODING=QUOTED-PRINTABLE:=C1=ED=ED=E1;;;;\r\n", "2.1"),
         {QString::fromUtf8("||\xCE\x91\xCE\xBD\xCE\xBD\xCE\xB1")}},
        {"folded_with_space_and_tab", Card("N:Le\r\n e;A\r\n\tnn;;;\r\n"), {"Ann||Lee"}},
        {"escapes", Card("N:O\\;Brien;Mary\\, Ann\\nMarie;back\\\\slash\\q;;\r\n"),
         {"Mary, Ann\nMarie|back\\slash\\q|O;Brien"}},
        {"quoted_printable_utf8",
         Card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\r\n", "2.1"),
         {QString::fromUtf8("J\xC3\xBCrgen||M\xC3\xBCller")}},
        {"soft_breaks_keep_the_next_lines_leading_space",
         Card("N;QUOTED-PRINTABLE:Van=\r\n Dyke;Pe=\r\nter;;;\r\n", "2.1"),
         {"Peter||Van Dyke"}},
        {"long_soft_break_chain",
         Card("N;ENCODING=QUOTED-PRINTABLE:" + QByteArray("a=\r\n").repeated(20000) + "b;;;;\r\n", "2.1"),
         {"||" + QString(20000, u'a') + "b"}},
        {"soft_break_at_end_of_file", "BEGIN:VCARD\r\nN;QUOTED-PRINTABLE:Lee;Ann=", {"Ann||Lee"}},
        {"bare_2_1_parameters_latin1", Card("N;QUOTED-PRINTABLE;CHARSET=ISO-8859-1:M=FCller;;;;\r\n", "2.1"),
         {QString::fromUtf8("||M\xC3\xBCller")}},
        {"windows_1252_charset", Card("N;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:=80uro;=93Q=94;;;\r\n", "2.1"),
         {QString::fromUtf8("\xE2\x80\x9CQ\xE2\x80\x9D||\xE2\x82\xAC" "uro")}},
        {"encoded_semicolon_is_text", Card("N;ENCODING=QUOTED-PRINTABLE:A=3BB;Ann;;;\r\n", "2.1"), {"Ann||A;B"}},
        {"broken_quoted_printable_kept_literally", Card("N;ENCODING=QUOTED-PRINTABLE:A=ZZ=4;B=;;;\r\n", "2.1"),
         {"B=||A=ZZ=4"}},
        {"base64", Card("N;ENCODING=b:" + QByteArray("Lee;Ann;;;").toBase64() + "\r\n"), {"Ann||Lee"}},
        {"quoted_parameter_with_colon", Card("N;SORT-AS=\"Lee:x,Ann\":Lee;Ann;;;\r\n", "4.0"), {"Ann||Lee"}},
        {"empty_text", "", {}},
        {"no_card_at_all", "just some text\nwith lines\n", {}},
    }) {
        // clang-format on
        QStringList rows;
        for (const SPimContact& c : CVCardReader::Parse(text))
            rows.append(c.given + u'|' + c.additional + u'|' + c.family);
        EXPECT_EQ(rows, expected) << what;
    }
}

} // namespace
