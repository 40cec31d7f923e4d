#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <span>

// Which kinds may stand in which of the main screen's four slots, shared by the settings
// dialog, the main screen, the tag manager and the command line. A kind other than "None"
// stands in one slot at a time (a second task slot would give a record two tasks), and the
// first slot always shows something. Kinds are the stored texts (see CSlotKind); tag groups
// are passed as the catalogue lists them. Pure.
namespace SlotRules {

// The group the first slot shows by default, and falls back to while that group exists.
inline constexpr QLatin1String kPriority{"Priority"};

// What slot `slot` (0..3) may be set to, in the settings' order: "None" (not for the first
// slot), "Task", "Contacts", then every name of `groups` as given.
QStringList Candidates(int slot, const QStringList& groups);

// The first slot of `kinds`, other than `slot`, that shows `kind`; -1 when none does or
// `kind` is "None", which any number of slots may show.
int ShownElsewhere(std::span<const QString> kinds, int slot, const QString& kind);

// False for "Task", "Location", "Contacts" and the names of `groups`; true otherwise (an
// empty kind and "None" included).
bool IsMissing(const QString& kind, const QStringList& groups);

// What the first slot shows instead of nothing: "Priority" when that group exists, else
// "Contacts".
QString FirstSlotFallback(const QStringList& groups);

// The kind slot `slot` shows once groups may have been deleted or renamed: the kind itself
// when it is "None" or not missing; otherwise the first slot's fallback for the first slot
// and "None" for the others.
QString WithoutMissing(int slot, const QString& kind, const QStringList& groups);

// The kind the main screen shows in slot `slot` when the slots before it show `earlier`:
// WithoutMissing, then "None" when an earlier slot shows that kind already, and the first
// slot's fallback rather than "None" in the first slot.
QString Repaired(int slot, const QString& kind, const QStringList& earlier,
                 const QStringList& groups);

} // namespace SlotRules
