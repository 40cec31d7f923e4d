#include "store/namerules.h"

#include "store/slotkind.h"

#include <QCoreApplication>

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

QString Noun(EKind kind)
{
    switch (kind) {
    case EKind::Group:
        return QCoreApplication::translate("NameRules", "Group name");
    case EKind::Tag:
        return QCoreApplication::translate("NameRules", "Tag name");
    case EKind::Location:
        return QCoreApplication::translate("NameRules", "Location name");
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
    if (kind == EKind::Group && CSlotKind::IsKindName(trimmed))
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
    const QString again = QCoreApplication::translate("NameRules", "\nPlease enter another name.");
    switch (problem) {
    case EProblem::None:
        return {};
    case EProblem::ControlCharacter:
        return QCoreApplication::translate(
                   "NameRules", "%1 can not contain line breaks, tabs or other control characters.")
                   .arg(Noun(kind)) +
               again;
    case EProblem::Brackets:
        // The tag text is the one the tag dialogs have always shown.
        if (kind == EKind::Tag)
            return QCoreApplication::translate("NameRules",
                                               "Tag name is can not contain symbols '[' and ']'.") +
                   again;
        return QCoreApplication::translate("NameRules", "%1 can not contain symbols '[' and ']'.")
                   .arg(Noun(kind)) +
               again;
    case EProblem::ReservedGroup:
        return QCoreApplication::translate(
                   "NameRules",
                   "\"None\", \"Contacts\", \"Task\" and \"Location\" are kinds of slot and "
                   "can not name a Tag Group.") +
               again;
    case EProblem::TooLong:
        return QCoreApplication::translate(
                   "NameRules",
                   "%1 is too long: at most %2 bytes (a letter outside English takes two or more).")
                   .arg(Noun(kind))
                   .arg(kind == EKind::Group ? kMaxGroupBytes : kMaxTagBytes) +
               again;
    case EProblem::Tilde:
        return QCoreApplication::translate("NameRules", "%1 can not contain the symbol '~'.")
                   .arg(Noun(kind)) +
               again;
    }
    return {};
}

QString Refusal(EKind kind, const QString& name)
{
    return Message(kind, Check(kind, name));
}

} // namespace NameRules
