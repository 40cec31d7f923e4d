#pragma once

#include <QStringList>
#include <array>

// What the settings dialog offers in each of the four slot lists. The candidates are
// "None", "Task", "Contacts" and the tag groups, in that order; the first slot never
// offers "None". A candidate other than "None" is offered by at most one slot at a
// time: choosing it in one slot takes it out of the other three lists, and giving it
// up puts it back in its canonical place. The candidates and the rule of one slot per
// kind are SlotRules', shared with the main screen and the command line.
class CSlotChoices
{
public:
    static constexpr int kSlots = 4;

    explicit CSlotChoices(const QStringList& tagGroups);

    // Applies stored values (empty text = not stored) with the dialog's defaults:
    // Slot1 "Priority" or, when that is not offered, "Contacts"; Slot2 "Contacts";
    // Slot3 "Task"; Slot4 "None". A stored value a slot does not offer falls back to the
    // slot's first item (Slot1: "Contacts").
    void Load(const std::array<QString, kSlots>& stored);

    QStringList Candidates() const { return m_canonical; }
    QStringList Offered(int slot) const;
    QString Selected(int slot) const;
    std::array<QString, kSlots> Selection() const { return m_selected; }

    // Chooses `text` in `slot`; false (nothing changes) when the slot does not offer it.
    bool Select(int slot, const QString& text);
    // Sets slots from `count` on to "None", as a screen with fewer rows requires.
    void LimitToSlots(int count);

    // What to store for all four slots when only the first `shown` were offered: the
    // shown ones as chosen; a hidden one keeps its stored kind (empty: nothing stored, so
    // nothing to write) unless a shown slot has taken that kind now, which makes it "None".
    static std::array<QString, kSlots> Merged(const std::array<QString, kSlots>& chosen,
                                              const std::array<QString, kSlots>& stored, int shown);

private:
    void Offer(int slot, const QString& text);
    void Withdraw(int slot, const QString& text);
    void TakeFromOthers(int slot, const QString& text);

    QStringList m_canonical;
    std::array<QStringList, kSlots> m_offered;
    std::array<QString, kSlots> m_selected;
};
