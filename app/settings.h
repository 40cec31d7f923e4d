#pragma once

#include "platform/wavebackend.h"
#include "store/pimorigin.h"
#include "store/slotchoices.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class CAudioManager;
class CDropDown;
class CSettingsStore;
class MMessageSink;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The settings dialog: what the four slots of the main screen show, the recording
// format, the storage for new records, the sound devices to record from and play on, and
// where contacts and tasks come from (the desktop, the folder, or both) with the folder,
// and whether the splash screen shows at start.
// OK stores everything and applies the format and the devices to the audio manager at
// once; Cancel stores nothing. Where contacts and tasks come from is stored only once it
// has been chosen: until then the default follows the desktop's service.
class CSettings : public QDialog
{
    Q_OBJECT
public:
    struct SContext
    {
        CSettingsStore& settings;
        CAudioManager& audio;
        MMessageSink& sink;
        QStringList tagGroups;
        // "Device memory" then the storage cards present now; asked again each time the
        // storage list opens.
        std::function<QStringList()> storages;
        // How many slots the main screen can show (later slots are set to "None").
        int availableSlots = 4;
        // Where contacts and tasks come from while no choice is stored.
        EPimOrigin pimDefault = EPimOrigin::Folder;
    };
    // The sound devices present now, asked again each time a device list opens.
    using DeviceSource = std::function<std::vector<SWaveDeviceInfo>(EWaveDirection)>;

    // The devices come from the audio manager's backend.
    explicit CSettings(SContext context, QWidget* parent = nullptr);
    CSettings(SContext context, DeviceSource devices, QWidget* parent = nullptr);
    ~CSettings() override;

    QComboBox* SlotList(int slot) const;
    QComboBox* FormatList() const;
    CDropDown* StorageList() const;
    // "Default" first, then the devices by description; each item's data is the name.
    CDropDown* DeviceList(EWaveDirection direction) const;
    QLineEdit* PimFolderEdit() const;
    // "Contacts and tasks from": each item's data is the stored name of its origin.
    QComboBox* PimSourceList() const;
    QCheckBox* ShowSplashBox() const { return m_showSplash; }
    const CSlotChoices& Choices() const { return m_choices; }

    // Reads the storages again, keeping the selected one when it is still there.
    void RefreshStorages();
    // Reads the devices of a direction again, keeping the selected one when it is still
    // there, else selecting "Default".
    void RefreshDevices(EWaveDirection direction);

    // Strips a ":" suffix: "Storage Card: 2 GB" -> "Storage Card".
    static QString StorageName(const QString& item);

    void accept() override;

private:
    void BuildUi();
    void Load();
    void ShowChoices();
    void ShowFolderUse();
    // Lists the storages and selects `wanted`, else `fallback`, else the first.
    void FillStorages(const QString& wanted, const QString& fallback);
    // Lists the devices of a direction and selects the one named `wanted` ("Default" when
    // it is empty or absent).
    void FillDevices(EWaveDirection direction, const QString& wanted);
    void OnSlotChosen(int slot, const QString& text);
    bool Store();

    SContext m_context;
    DeviceSource m_devices;
    CSlotChoices m_choices;
    // The slot kinds as stored when the dialog opened (empty: not stored).
    std::array<QString, 4> m_stored;
    std::array<QComboBox*, 4> m_slotLists{};
    std::array<QLabel*, 4> m_slotLabels{};
    QComboBox* m_format = nullptr;
    CDropDown* m_storage = nullptr;
    CDropDown* m_input = nullptr;
    CDropDown* m_output = nullptr;
    QComboBox* m_pimSource = nullptr;
    // The origin shown when the dialog opened, and whether it was stored.
    int m_pimSourceShown = -1;
    bool m_pimSourceStored = false;
    QLineEdit* m_pimFolder = nullptr;
    QWidget* m_pimFolderRow = nullptr;
    QCheckBox* m_showSplash = nullptr;
};
