#pragma once

#include <QString>

// What makes a name unfit for the files it is written into. A catalogue line holds one name
// and the readers take any line with a bracket for a group line; a record's information block
// is one entry per line under fixed section headers; a locations line ends its name at the
// first "~". A name that breaks one of those rules would come back as something else (two
// tags, a mangled group, a task read from the wrong line), so it is refused before it is
// written. Names are checked as they would be stored: trimmed. Pure.
namespace NameRules {

enum class EKind
{
    Group,
    Tag,
    Location,
};

enum class EProblem
{
    None,
    ControlCharacter, // a line break, a tab or any other control character
    Brackets,         // "[" or "]" in a group or tag name
    ReservedGroup,    // a group named like a slot kind: "None", "Contacts", "Task", "Location"
    TooLong,          // longer than a catalogue line takes (kMaxTagBytes, kMaxGroupBytes)
    Tilde,            // "~" in a location name
};

// A catalogue line takes 258 bytes before its line feed: a tag line is the tag, a group line
// the name in brackets. Counted in UTF-8 bytes, the unit in which the line is stored.
inline constexpr qsizetype kMaxTagBytes = 258;
inline constexpr qsizetype kMaxGroupBytes = 256;

// The first rule `name` breaks as a name of `kind`; EProblem::None when it breaks none. An
// empty name breaks none of these (the callers have their own message for it).
EProblem Check(EKind kind, const QString& name);

// The message a refusal shows; empty for EProblem::None.
QString Message(EKind kind, EProblem problem);

// Check and Message in one: empty when the name may be stored.
QString Refusal(EKind kind, const QString& name);

} // namespace NameRules
