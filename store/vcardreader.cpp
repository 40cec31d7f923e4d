#include "store/vcardreader.h"

#include "store/charsetdecoder.h"
#include "store/textcodec.h"

#include <QList>
#include <QStringDecoder>
#include <optional>

namespace {

QString DecodeCharset(const QByteArray& bytes, const QByteArray& charset)
{
    const QByteArray name = charset.toUpper();
    if (name == "ISO-8859-1" || name == "ISO8859-1" || name == "LATIN1" || name == "LATIN-1")
        return QString::fromLatin1(bytes);
    if (name == "WINDOWS-1252" || name == "CP1252")
        return TextCodec::FromWindows1252(bytes);
    if (!name.isEmpty() && name != "UTF-8" && name != "UTF8") {
        if (std::optional<QString> text = CharsetDecoder::Decode(bytes, name))
            return *text;
    }
    // UTF-8, or the Windows code page of an old export when it is not; also what an
    // unknown set or bytes invalid in the named one fall back to.
    return TextCodec::Decode(bytes);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "=XX" becomes the byte XX; an "=" that does not start a valid pair is kept as it stands,
// so that a broken export still shows its text.
QByteArray DecodeQuotedPrintable(const QByteArray& value)
{
    QByteArray bytes;
    bytes.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size()) {
            const int high = HexValue(value[i + 1]);
            const int low = HexValue(value[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes.append(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.append(value[i]);
    }
    return bytes;
}

// Splits at every `separator` that is outside double quotes (parameter values of
// version 4.0 may be quoted).
QList<QByteArray> SplitOutsideQuotes(const QByteArray& text, char separator)
{
    QList<QByteArray> parts;
    QByteArray current;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    parts.append(current);
    return parts;
}

// Splits a structured value at the semicolons that are not escaped. It works on decoded
// text: in a multi-byte set such as SHIFT_JIS the byte 0x5C may be half of a character.
QList<QString> SplitComponents(const QString& value)
{
    QList<QString> parts;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            current.append(value[i]);
            current.append(value[++i]);
        } else if (value[i] == u';') {
            parts.append(current);
            current.clear();
        } else {
            current.append(value[i]);
        }
    }
    parts.append(current);
    return parts;
}

QString Unescape(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            result.append(text[i]);
            continue;
        }
        const QChar next = text[++i];
        if (next == u'n' || next == u'N')
            result.append(u'\n');
        else if (next == u'\\' || next == u';' || next == u',')
            result.append(next);
        else
            result.append(u'\\').append(next); // not an escape: keep both characters
    }
    return result;
}

enum class EEncoding
{
    Plain,
    QuotedPrintable,
    Base64
};

struct SProperty
{
    QByteArray name; // upper case, without its group
    QByteArray value;
    EEncoding encoding = EEncoding::Plain;
    QByteArray charset;
};

std::optional<SProperty> ParseProperty(const QByteArray& line)
{
    // The first colon outside quotes ends the name and its parameters.
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon <= 0)
        return std::nullopt;

    SProperty property;
    property.value = line.mid(colon + 1);
    const QList<QByteArray> head = SplitOutsideQuotes(line.left(colon), ';');
    QByteArray name = head.front().trimmed().toUpper();
    property.name = name.mid(name.lastIndexOf('.') + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray parameter = head[i].trimmed().toUpper();
        const qsizetype equals = parameter.indexOf('=');
        const QByteArray key = equals < 0 ? QByteArray() : parameter.left(equals);
        QByteArray value = equals < 0 ? parameter : parameter.mid(equals + 1);
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        if (key == "CHARSET") {
            property.charset = value;
        } else if (key.isEmpty() || key == "ENCODING") {
            if (value == "QUOTED-PRINTABLE")
                property.encoding = EEncoding::QuotedPrintable;
            else if (value == "B" || value == "BASE64")
                property.encoding = EEncoding::Base64;
        }
    }
    return property;
}

// Physical lines joined into logical ones: folding and quoted-printable soft breaks undone,
// empty lines dropped. Whether a logical line is quoted-printable is decided once its name
// and parameters are complete, so a long chain of soft breaks is not parsed again per line.
QList<QByteArray> LogicalLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    bool softBreak = false;
    std::optional<bool> quotedPrintable; // of lines.back(), once known
    for (QByteArray line : text.split('\n')) {
        while (line.endsWith('\r'))
            line.chop(1);
        if (softBreak) {
            lines.back().chop(1); // the "=" of the soft break
            lines.back().append(line);
        } else if (!lines.isEmpty() && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back().append(line.mid(1));
        } else if (!line.isEmpty()) {
            lines.append(line);
            quotedPrintable.reset();
        }
        if (!lines.isEmpty() && !quotedPrintable) {
            if (const std::optional<SProperty> property = ParseProperty(lines.back()))
                quotedPrintable = property->encoding == EEncoding::QuotedPrintable;
        }
        softBreak = quotedPrintable.value_or(false) && lines.back().endsWith('=');
    }
    if (softBreak)
        lines.back().chop(1); // a soft break at the very end joins nothing
    return lines;
}

// The value as text: transfer encoding undone, then the character set decoded, before any
// splitting or unescaping.
QString DecodedValue(const SProperty& property)
{
    QByteArray bytes = property.value;
    if (property.encoding == EEncoding::Base64)
        bytes = QByteArray::fromBase64(bytes.trimmed());
    else if (property.encoding == EEncoding::QuotedPrintable)
        bytes = DecodeQuotedPrintable(bytes);
    return DecodeCharset(bytes, property.charset);
}

// The components of a structured value, decoded and not yet unescaped. A quoted-printable
// value is split first: its separators are plain ASCII and "=3B" is a semicolon of the
// text; any other value is decoded first, so that no byte of a multi-byte character is
// taken for a separator or an escape.
QList<QString> Components(const SProperty& property)
{
    if (property.encoding != EEncoding::QuotedPrintable)
        return SplitComponents(DecodedValue(property));
    QList<QString> parts = SplitComponents(QString::fromLatin1(property.value));
    for (QString& part : parts)
        part = DecodeCharset(DecodeQuotedPrintable(part.toLatin1()), property.charset);
    return parts;
}

// N is family;given;additional;prefix;suffix.
SPimContact ContactFromName(const SProperty& property)
{
    const QList<QString> parts = Components(property);
    const auto part = [&](qsizetype index) {
        return index < parts.size() ? Unescape(parts[index]).trimmed() : QString();
    };
    return SPimContact{part(1), part(2), part(0)};
}

// The formatted name stands in whole where a card has no usable N.
SPimContact ContactFromFormattedName(const SProperty& property)
{
    return SPimContact{Unescape(DecodedValue(property)).trimmed(), {}, {}};
}

// A UTF-8 byte-order mark is dropped; UTF-16 text with its mark becomes UTF-8.
QByteArray WithoutByteOrderMark(const QByteArray& text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        return text.mid(3);
    const bool little = text.startsWith("\xFF\xFE"), big = text.startsWith("\xFE\xFF");
    if (!little && !big)
        return text;
    QStringDecoder decoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    const QString decoded = decoder.decode(QByteArrayView(text).sliced(2));
    return decoded.toUtf8();
}

bool IsEmpty(const SPimContact& contact)
{
    return contact.given.isEmpty() && contact.additional.isEmpty() && contact.family.isEmpty();
}

} // namespace

std::vector<SPimContact> CVCardReader::Parse(const QByteArray& text)
{
    std::vector<SPimContact> contacts;
    bool inCard = false;
    std::optional<SPimContact> name;
    std::optional<SPimContact> formattedName;
    const auto finishCard = [&] {
        if (inCard && name && !IsEmpty(*name))
            contacts.push_back(*name);
        else if (inCard && formattedName && !IsEmpty(*formattedName))
            contacts.push_back(*formattedName);
        inCard = false;
        name.reset();
        formattedName.reset();
    };

    for (const QByteArray& line : LogicalLines(WithoutByteOrderMark(text))) {
        const std::optional<SProperty> property = ParseProperty(line);
        if (!property)
            continue;
        const QByteArray value = property->value.trimmed().toUpper();
        if (property->name == "BEGIN" && value == "VCARD") {
            finishCard();
            inCard = true;
        } else if (property->name == "END" && value == "VCARD") {
            finishCard();
        } else if (inCard && property->name == "N" && !name) {
            name = ContactFromName(*property);
        } else if (inCard && property->name == "FN" && !formattedName) {
            formattedName = ContactFromFormattedName(*property);
        }
    }
    finishCard();
    return contacts;
}
