#include "store/recordinfolines.h"

#include "store/recordinfo.h"

namespace RecordInfoLines {
namespace {

// Whether `line` starts with the ASCII text `prefix`, compared unit by unit: cheaper than a
// general comparison for the few characters of a header.
bool StartsWithAscii(QStringView line, const char* prefix)
{
    qsizetype i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= line.size() || line[i].unicode() != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

ESection SectionOfHeader(QStringView line)
{
    if (StartsWithAscii(line, RecordInfo::kTagsHeader))
        return ESection::Tags;
    if (StartsWithAscii(line, RecordInfo::kTasksHeader))
        return ESection::Tasks;
    if (StartsWithAscii(line, RecordInfo::kContactsHeader))
        return ESection::Contacts;
    return ESection::None;
}

bool IsGroupLine(QStringView line)
{
    for (const QChar c : line) {
        if (c == u'[' || c == u']')
            return true;
    }
    return false;
}

// Whether QChar::isSpace may hold for `c`: white space below 0x80, anything above.
bool MayBeSpace(QChar c)
{
    const char16_t unit = c.unicode();
    return unit >= 0x80 || unit == u' ' || (unit >= 0x09 && unit <= 0x0D);
}

// The line without white space at either end, as QStringView::trimmed gives it; most lines
// have none, which two comparisons tell.
QStringView Trimmed(QStringView line)
{
    if (line.isEmpty() || MayBeSpace(line.front()) || MayBeSpace(line.back()))
        return line.trimmed();
    return line;
}

} // namespace

SParsed Parse(QStringView text)
{
    SParsed parsed;
    parsed.lines.reserve(16);
    ESection section = ESection::None;
    qsizetype group = -1;
    qsizetype at = 0;
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    while (at < size) {
        qsizetype end = at;
        // IsLineBreak on the units themselves: this scan is the hot path of every listing,
        // and through QChar it runs at half the speed.
        while (end < size && (units[end] >= 0x20 || units[end] == u'\t'))
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next +=
                text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
        const QStringView content = Trimmed(text.mid(at, end - at));
        if (!content.isEmpty()) {
            SLine line{at, end, next, content, section, EKind::Entry, -1};
            if (content.size() >= 2 && content[0] == u'[' && content[1] == u'[') {
                const ESection opened = SectionOfHeader(content);
                section =
                    opened != ESection::None && parsed.Opener(opened) < 0 ? opened : ESection::None;
                if (section != ESection::None)
                    parsed.opener[static_cast<int>(section)] =
                        static_cast<qsizetype>(parsed.lines.size());
                line.section = section;
                line.kind = EKind::Header;
                group = -1;
            } else if (section == ESection::Tags && IsGroupLine(content)) {
                line.kind = EKind::Group;
                group = static_cast<qsizetype>(parsed.lines.size());
            } else if (section == ESection::Tags) {
                line.group = group;
            }
            parsed.lines.push_back(line);
        }
        at = next;
    }
    return parsed;
}

} // namespace RecordInfoLines
