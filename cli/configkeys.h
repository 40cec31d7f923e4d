#pragma once

#include "platform/wavebackend.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

class CCliStore;

// The stored settings by name, for config get/set. Reading gives the value the program
// would use (its default when nothing is stored). Writing accepts only values the
// settings dialog could have stored, so the program never starts on one it cannot show.
class CConfigKeys
{
public:
    // The sound devices present now, asked only when a device setting is written.
    using DeviceList = std::function<std::vector<SWaveDeviceInfo>(EWaveDirection)>;

    CConfigKeys(CCliStore& store, DeviceList devices)
        : m_store(store), m_devices(std::move(devices))
    {}

    // Slot1..Slot4, Format, Storage, AppPath, PimFolder, InputDevice, OutputDevice,
    // PimSource (reading it with none stored asks whether the desktop's service answers),
    // ShowSplash (true or false).
    static std::span<const std::string_view> Names();

    // Throws CUsageError for an unknown key.
    QString Get(std::string_view key) const;
    // Throws CUsageError for an unknown key, a Format that is not 0..5, a PimSource that
    // is not desktop, folder or both or a ShowSplash that is not true or false, and
    // CCommandFailure for a slot kind, storage or device the program does not offer (an
    // empty device follows the default), a slot kind another slot shows already, or a
    // failed write ("Problems with writing to the
    // registry").
    void Set(std::string_view key, const QString& value);

    // What slot `index` (0..3) may show: "None" (not for the first slot), "Task",
    // "Contacts", then every tag group in catalogue order.
    QStringList SlotCandidates(int index) const;

private:
    static int SlotIndex(std::string_view key);
    void SetSlot(int index, const QString& kind);
    void CheckDevicePresent(EWaveDirection direction, const QString& name) const;

    CCliStore& m_store;
    DeviceList m_devices;
};
