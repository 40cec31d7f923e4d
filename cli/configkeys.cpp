#include "cli/configkeys.h"

#include "audio/audiomanager.h"
#include "cli/clistore.h"
#include "cli/commandfailure.h"
#include "cli/commandline.h"
#include "cli/usageerror.h"
#include "store/slotrules.h"

#include <array>
#include <string>

namespace {

constexpr std::array<std::string_view, 12> kNames = {
    "Slot1",   "Slot2",     "Slot3",       "Slot4",        "Format",    "Storage",
    "AppPath", "PimFolder", "InputDevice", "OutputDevice", "PimSource", "ShowSplash",
};

void CheckWritten(bool written, const CSettingsStore& settings)
{
    if (!written)
        throw CCommandFailure(settings.WriteFailureMessage().toStdString());
}

[[noreturn]] void UnknownKey(std::string_view key)
{
    throw CUsageError("unknown setting '" + std::string(key) +
                      "' (Slot1..Slot4, Format, Storage, AppPath, PimFolder, InputDevice, "
                      "OutputDevice, PimSource, ShowSplash)");
}

} // namespace

std::span<const std::string_view> CConfigKeys::Names()
{
    return kNames;
}

int CConfigKeys::SlotIndex(std::string_view key)
{
    for (int i = 0; i < CSettingsStore::kSlotCount; ++i) {
        if (key == kNames[static_cast<std::size_t>(i)])
            return i;
    }
    return -1;
}

QString CConfigKeys::Get(std::string_view key) const
{
    const CSettingsStore& settings = m_store.Settings();
    if (const int slot = SlotIndex(key); slot >= 0)
        return settings.Slot(slot);
    if (key == "Format")
        return QString::number(settings.Format());
    if (key == "Storage")
        return settings.Storage();
    if (key == "AppPath")
        return settings.AppPath();
    if (key == "PimFolder")
        return settings.PimFolder();
    if (key == "InputDevice")
        return settings.InputDevice();
    if (key == "OutputDevice")
        return settings.OutputDevice();
    if (key == "PimSource")
        return PimOrigin::Name(m_store.PimSource().Effective());
    if (key == "ShowSplash")
        return settings.ShowSplash() ? QStringLiteral("true") : QStringLiteral("false");
    UnknownKey(key);
}

void CConfigKeys::Set(std::string_view key, const QString& value)
{
    CSettingsStore& settings = m_store.Settings();
    if (const int slot = SlotIndex(key); slot >= 0) {
        SetSlot(slot, value);
        return;
    }
    if (key == "Format") {
        const auto format =
            CCommandLine::ParseWholeNumber(value.toStdString(), 0, kRecordingFormats.size() - 1);
        if (!format)
            throw CUsageError("Format must be a whole number from 0 to 5");
        CheckWritten(settings.SetFormat(static_cast<int>(*format)), settings);
        return;
    }
    if (key == "Storage") {
        if (!m_store.Storage().StorageList().contains(value)) {
            throw CCommandFailure("The storage \"" + value.toStdString() +
                                  "\" is not present (see the storages command).");
        }
        CheckWritten(settings.SetStorage(value), settings);
        return;
    }
    if (key == "AppPath") {
        CheckWritten(settings.SetAppPath(value), settings);
        return;
    }
    if (key == "PimFolder") {
        CheckWritten(settings.SetPimFolder(value), settings);
        return;
    }
    if (key == "InputDevice") {
        CheckDevicePresent(EWaveDirection::Input, value);
        CheckWritten(settings.SetInputDevice(value), settings);
        return;
    }
    if (key == "OutputDevice") {
        CheckDevicePresent(EWaveDirection::Output, value);
        CheckWritten(settings.SetOutputDevice(value), settings);
        return;
    }
    if (key == "PimSource") {
        const std::optional<EPimOrigin> origin = PimOrigin::Parse(value);
        if (!origin)
            throw CUsageError("PimSource must be desktop, folder or both");
        CheckWritten(settings.SetPimSource(*origin), settings);
        return;
    }
    if (key == "ShowSplash") {
        if (value != QLatin1String("true") && value != QLatin1String("false"))
            throw CUsageError("ShowSplash must be true or false");
        CheckWritten(settings.SetShowSplash(value == QLatin1String("true")), settings);
        return;
    }
    UnknownKey(key);
}

void CConfigKeys::CheckDevicePresent(EWaveDirection direction, const QString& name) const
{
    if (name.isEmpty() || (m_devices && HasWaveDevice(m_devices(direction), name.toStdString())))
        return;
    throw CCommandFailure("The audio device \"" + name.toStdString() +
                          "\" is not present (see the devices command).");
}

QStringList CConfigKeys::SlotCandidates(int index) const
{
    return SlotRules::Candidates(index, m_store.Tags().ListGroups());
}

void CConfigKeys::SetSlot(int index, const QString& kind)
{
    const QStringList candidates = SlotCandidates(index);
    if (!candidates.contains(kind)) {
        throw CCommandFailure("Slot" + std::to_string(index + 1) + " cannot show \"" +
                              kind.toStdString() +
                              "\"; it shows one of: " + candidates.join(", ").toStdString());
    }
    // The settings dialog offers a kind to one slot at a time.
    CSettingsStore& settings = m_store.Settings();
    std::array<QString, CSettingsStore::kSlotCount> kinds;
    for (int slot = 0; slot < CSettingsStore::kSlotCount; ++slot)
        kinds[static_cast<std::size_t>(slot)] = settings.Slot(slot);
    if (const int other = SlotRules::ShownElsewhere(kinds, index, kind); other >= 0) {
        throw CCommandFailure("\"" + kind.toStdString() + "\" is shown by Slot" +
                              std::to_string(other + 1) + " already.");
    }
    CheckWritten(settings.SetSlot(index, kind), settings);
}
