#include "store/recordinfolines.h"

#include "store/recordinfo.h"

namespace RecordInfoLines {
namespace {

ESection SectionOfHeader(QStringView line)
{
    if (line.startsWith(QLatin1String(RecordInfo::kTagsHeader)))
        return ESection::Tags;
    if (line.startsWith(QLatin1String(RecordInfo::kTasksHeader)))
        return ESection::Tasks;
    if (line.startsWith(QLatin1String(RecordInfo::kContactsHeader)))
        return ESection::Contacts;
    return ESection::None;
}

bool IsGroupLine(QStringView line)
{
    return line.contains(u'[') || line.contains(u']');
}

} // namespace

SParsed Parse(QStringView text)
{
    SParsed parsed;
    parsed.lines.reserve(16);
    ESection section = ESection::None;
    qsizetype group = -1;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = at;
        while (end < text.size() && !IsLineBreak(text[end]))
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next +=
                text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
        const QStringView content = text.mid(at, end - at).trimmed();
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
