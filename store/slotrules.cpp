#include "store/slotrules.h"

#include "store/slotkind.h"

namespace SlotRules {

QStringList Candidates(int slot, const QStringList& groups)
{
    QStringList candidates;
    if (slot != 0)
        candidates << CSlotKind::kNone;
    candidates << CSlotKind::kTask << CSlotKind::kContacts << groups;
    return candidates;
}

int ShownElsewhere(std::span<const QString> kinds, int slot, const QString& kind)
{
    if (kind == CSlotKind::kNone)
        return -1;
    for (std::size_t other = 0; other < kinds.size(); ++other) {
        if (static_cast<int>(other) != slot && kinds[other] == kind)
            return static_cast<int>(other);
    }
    return -1;
}

bool IsMissing(const QString& kind, const QStringList& groups)
{
    const CSlotKind slotKind(kind);
    if (slotKind.IsTask() || slotKind.IsLocation() || slotKind.IsContacts())
        return false;
    return kind.isEmpty() || !groups.contains(kind);
}

QString FirstSlotFallback(const QStringList& groups)
{
    return groups.contains(kPriority) ? QString(kPriority) : QString(CSlotKind::kContacts);
}

QString WithoutMissing(int slot, const QString& kind, const QStringList& groups)
{
    if (kind == CSlotKind::kNone || !IsMissing(kind, groups))
        return kind;
    return slot == 0 ? FirstSlotFallback(groups) : QString(CSlotKind::kNone);
}

QString Repaired(int slot, const QString& kind, const QStringList& earlier,
                 const QStringList& groups)
{
    QString repaired = WithoutMissing(slot, kind, groups);
    const std::span<const QString> before(earlier.constData(),
                                          static_cast<std::size_t>(earlier.size()));
    if (ShownElsewhere(before, -1, repaired) >= 0)
        repaired = CSlotKind::kNone;
    if (slot == 0 && repaired == CSlotKind::kNone)
        repaired = FirstSlotFallback(groups);
    return repaired;
}

} // namespace SlotRules
