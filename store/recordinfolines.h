#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// How an information block's text is read, in one place: every reader (the lists, the
// browser, the summary) and every change of the editor go through Parse, so that what an edit
// writes is exactly what the readers then see, however damaged the block.
//
// - A line ends at a line feed, at a carriage return (a CR LF pair ends one line) or at any
//   other control character but the tab: no entry ever holds one, so a control character
//   inside a block is damage, and reading on from it keeps the text behind it.
// - Lines are trimmed; lines empty after trimming are skipped.
// - A line that begins with "[[" is a section header. It opens the Tags, Tasks or Contacts
//   section when it begins with "[[Tags]]", "[[Tasks]]" or "[[Contacts]]" and that section has
//   not been opened before; any other header (a repeated or an unknown one) opens a section
//   that no reader looks at. Lines before the first header belong to no section.
// - In the Tags section a line holding "[" or "]" is a group line, named by the line without
//   its first and last characters; every other line is a tag of the group line above it.
//   Tags above the first group line belong to no group. A group named on several lines has
//   the tags of all of them.
// - In the Tasks and Contacts sections every line is an entry.
//
// Nothing here does I/O.
namespace RecordInfoLines {

enum class ESection
{
    None, // before the first header, or under a header no reader looks at
    Tags,
    Tasks,
    Contacts,
};

enum class EKind
{
    Header,
    Group, // a group line of the Tags section
    Entry, // a tag, task or contact, or a line no reader looks at (section None)
};

struct SLine
{
    // The line in the parsed text: [start, end) is its content before trimming, [end, next)
    // its line break (empty for a last line without one).
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    QStringView text; // trimmed, never empty; a view into the parsed text
    ESection section = ESection::None;
    EKind kind = EKind::Entry;
    // For an entry of the Tags section: the index (into the parsed lines) of its group line;
    // -1 above the first group line.
    qsizetype group = -1;

    bool IsTag() const { return section == ESection::Tags && kind == EKind::Entry && group >= 0; }
    // The group line's name.
    QStringView GroupName() const
    {
        return text.size() >= 2 ? text.mid(1, text.size() - 2) : QStringView();
    }
};

struct SParsed
{
    std::vector<SLine> lines;
    // The index of the line that opens each section (ESection::Tags..Contacts); -1 when none.
    qsizetype opener[4] = {-1, -1, -1, -1};

    qsizetype Opener(ESection section) const { return opener[static_cast<int>(section)]; }
    // The name of a tag line's group.
    QStringView GroupOf(const SLine& tag) const
    {
        return tag.group >= 0 ? lines[static_cast<std::size_t>(tag.group)].GroupName()
                              : QStringView();
    }
};

// True for the characters that end a line.
inline bool IsLineBreak(QChar c)
{
    return c.unicode() < 0x20 && c != u'\t';
}

// The lines of `text`. The views point into `text`, which must outlive the result.
SParsed Parse(QStringView text);

} // namespace RecordInfoLines
