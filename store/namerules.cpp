#include "store/namerules.h"

#include <QStringList>

namespace NameRules {
namespace {

bool HasControlCharacter(const QString& name)
{
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

bool IsReservedGroup(const QString& name)
{
    static const QStringList kSlotKinds{QStringLiteral("None"), QStringLiteral("Contacts"),
                                        QStringLiteral("Task"), QStringLiteral("Location")};
    return kSlotKinds.contains(name);
}

QString Noun(EKind kind)
{
    switch (kind) {
    case EKind::Group:
        return QStringLiteral("Group name");
    case EKind::Tag:
        return QStringLiteral("Tag name");
    case EKind::Location:
        return QStringLiteral("Location name");
    }
    return {};
}

} // namespace

EProblem Check(EKind kind, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (HasControlCharacter(trimmed))
        return EProblem::ControlCharacter;
    if (kind != EKind::Location && (trimmed.contains(u'[') || trimmed.contains(u']')))
        return EProblem::Brackets;
    if (kind == EKind::Group && IsReservedGroup(trimmed))
        return EProblem::ReservedGroup;
    if (kind == EKind::Location && trimmed.contains(u'~'))
        return EProblem::Tilde;
    const qsizetype limit = kind == EKind::Group ? kMaxGroupBytes : kMaxTagBytes;
    if (kind != EKind::Location && trimmed.toUtf8().size() > limit)
        return EProblem::TooLong;
    return EProblem::None;
}

QString Message(EKind kind, EProblem problem)
{
    const QString again = QStringLiteral("\nPlease enter another name.");
    switch (problem) {
    case EProblem::None:
        return {};
    case EProblem::ControlCharacter:
        return Noun(kind) +
               QStringLiteral(" can not contain line breaks, tabs or other "
                              "control characters.") +
               again;
    case EProblem::Brackets:
        // The tag text is the one the tag dialogs have always shown.
        if (kind == EKind::Tag)
            return QStringLiteral("Tag name is can not contain symbols '[' and ']'.") + again;
        return Noun(kind) + QStringLiteral(" can not contain symbols '[' and ']'.") + again;
    case EProblem::ReservedGroup:
        return QStringLiteral("\"None\", \"Contacts\", \"Task\" and \"Location\" are kinds of "
                              "slot and can not name a Tag Group.") +
               again;
    case EProblem::TooLong:
        return Noun(kind) +
               QStringLiteral(" is too long: at most %1 bytes (a letter outside English "
                              "takes two or more).")
                   .arg(kind == EKind::Group ? kMaxGroupBytes : kMaxTagBytes) +
               again;
    case EProblem::Tilde:
        return Noun(kind) + QStringLiteral(" can not contain the symbol '~'.") + again;
    }
    return {};
}

QString Refusal(EKind kind, const QString& name)
{
    return Message(kind, Check(kind, name));
}

} // namespace NameRules
