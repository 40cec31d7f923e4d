#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <string_view>

class CCliStore;

// The stored settings by name, for config get/set. Reading gives the value the program
// would use (its default when nothing is stored). Writing accepts only values the
// settings dialog could have stored, so the program never starts on one it cannot show.
class CConfigKeys
{
public:
    explicit CConfigKeys(CCliStore& store) : m_store(store) {}

    // Slot1..Slot4, Format, Storage, AppPath, PimFolder.
    static std::span<const std::string_view> Names();

    // Throws CUsageError for an unknown key.
    QString Get(std::string_view key) const;
    // Throws CUsageError for an unknown key or a Format that is not 0..5, and
    // CCommandFailure for a slot kind or storage the program does not offer, a slot kind
    // another slot shows already, or a failed write ("Problems with writing to the
    // registry").
    void Set(std::string_view key, const QString& value);

    // What slot `index` (0..3) may show: "None" (not for the first slot), "Task",
    // "Contacts", then every tag group in catalogue order.
    QStringList SlotCandidates(int index) const;

private:
    static int SlotIndex(std::string_view key);
    void SetSlot(int index, const QString& kind);

    CCliStore& m_store;
};
