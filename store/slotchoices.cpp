#include "store/slotchoices.h"

#include "store/settingsstore.h"
#include "store/slotkind.h"
#include "store/slotrules.h"

namespace {
const QString kNone = CSlotKind::kNone;
const QString kContacts = CSlotKind::kContacts;
} // namespace

CSlotChoices::CSlotChoices(const QStringList& tagGroups)
    : m_canonical(SlotRules::Candidates(1, tagGroups))
{
    // A group named like a kind, or twice in the file, is offered once.
    m_canonical.removeDuplicates();
    for (int slot = 0; slot < kSlots; ++slot) {
        m_offered[static_cast<std::size_t>(slot)] = m_canonical;
        m_selected[static_cast<std::size_t>(slot)] = kNone;
    }
    m_offered[0].removeAll(kNone);
    m_selected[0] =
        m_offered[0].contains(SlotRules::kPriority) ? QString(SlotRules::kPriority) : kContacts;
}

QStringList CSlotChoices::Offered(int slot) const
{
    if (slot < 0 || slot >= kSlots)
        return {};
    return m_offered[static_cast<std::size_t>(slot)];
}

QString CSlotChoices::Selected(int slot) const
{
    if (slot < 0 || slot >= kSlots)
        return {};
    return m_selected[static_cast<std::size_t>(slot)];
}

void CSlotChoices::Load(const std::array<QString, kSlots>& stored)
{
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        const QString wanted =
            stored[index].isEmpty() ? CSettingsStore::DefaultSlot(slot) : stored[index];
        QString chosen = wanted;
        if (!m_offered[index].contains(wanted))
            chosen = slot == 0 ? kContacts : m_offered[index].value(0, kNone);
        m_selected[index] = chosen;
        if (chosen != kNone)
            TakeFromOthers(slot, chosen);
    }
}

bool CSlotChoices::Select(int slot, const QString& text)
{
    if (slot < 0 || slot >= kSlots)
        return false;
    const auto index = static_cast<std::size_t>(slot);
    if (!m_offered[index].contains(text))
        return false;
    const QString previous = m_selected[index];
    if (previous == text)
        return true;
    if (previous != kNone) {
        for (int other = 0; other < kSlots; ++other) {
            if (other != slot)
                Offer(other, previous);
        }
    }
    m_selected[index] = text;
    if (text != kNone)
        TakeFromOthers(slot, text);
    return true;
}

void CSlotChoices::LimitToSlots(int count)
{
    for (int slot = qMax(1, count); slot < kSlots; ++slot)
        Select(slot, kNone);
}

void CSlotChoices::Offer(int slot, const QString& text)
{
    QStringList& list = m_offered[static_cast<std::size_t>(slot)];
    if (list.contains(text) || (slot == 0 && text == kNone))
        return;
    // Insert before the first item that comes later in the canonical order, so every
    // list stays in that order whatever was taken out and given back before.
    const qsizetype rank = m_canonical.indexOf(text);
    qsizetype at = 0;
    while (at < list.size() && m_canonical.indexOf(list.at(at)) < rank)
        ++at;
    list.insert(at, text);
}

void CSlotChoices::Withdraw(int slot, const QString& text)
{
    m_offered[static_cast<std::size_t>(slot)].removeAll(text);
}

void CSlotChoices::TakeFromOthers(int slot, const QString& text)
{
    for (int other = 0; other < kSlots; ++other) {
        if (other != slot)
            Withdraw(other, text);
    }
}

std::array<QString, CSlotChoices::kSlots>
CSlotChoices::Merged(const std::array<QString, kSlots>& chosen,
                     const std::array<QString, kSlots>& stored, int shown)
{
    std::array<QString, kSlots> merged = chosen;
    const auto offered =
        std::span(chosen).first(static_cast<std::size_t>(qBound(0, shown, kSlots)));
    for (int slot = qMax(0, shown); slot < kSlots; ++slot) {
        const auto at = static_cast<std::size_t>(slot);
        const QString& kept = stored[at];
        merged[at] = SlotRules::ShownElsewhere(offered, -1, kept) >= 0 ? kNone : kept;
    }
    return merged;
}
