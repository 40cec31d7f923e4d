#include "app/slotchoices.h"

#include <algorithm>

namespace {
const QString kNone = QStringLiteral("None");
const QString kTask = QStringLiteral("Task");
const QString kContacts = QStringLiteral("Contacts");
const QString kPriority = QStringLiteral("Priority");
} // namespace

CSlotChoices::CSlotChoices(const QStringList& tagGroups)
{
    m_canonical << kNone << kTask << kContacts;
    for (const QString& group : tagGroups) {
        if (!m_canonical.contains(group))
            m_canonical << group;
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        m_offered[static_cast<std::size_t>(slot)] = m_canonical;
        m_selected[static_cast<std::size_t>(slot)] = kNone;
    }
    m_offered[0].removeAll(kNone);
    m_selected[0] = m_offered[0].contains(kPriority) ? kPriority : kContacts;
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
    const std::array<QString, kSlots> defaults{kPriority, kContacts, kTask, kNone};
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        const QString wanted = stored[index].isEmpty() ? defaults[index] : stored[index];
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
    for (int slot = qMax(0, shown); slot < kSlots; ++slot) {
        const auto at = static_cast<std::size_t>(slot);
        const QString& kept = stored[at];
        const bool taken =
            kept != QLatin1String("None") &&
            std::find(chosen.begin(), chosen.begin() + shown, kept) != chosen.begin() + shown;
        merged[at] = taken ? QStringLiteral("None") : kept;
    }
    return merged;
}
