#pragma once

#include "app/slotchoices.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class CAudioManager;
class CDropDown;
class CSettingsStore;
class MMessageSink;
class QComboBox;
class QLabel;
class QLineEdit;

// The settings dialog: what the four slots of the main screen show, the recording
// format and the storage for new records, and the folder of contacts and tasks. OK
// stores everything and applies the format to the audio manager at once; Cancel
// stores nothing.
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
    };

    explicit CSettings(SContext context, QWidget* parent = nullptr);
    ~CSettings() override;

    QComboBox* SlotList(int slot) const;
    QComboBox* FormatList() const;
    CDropDown* StorageList() const;
    QLineEdit* PimFolderEdit() const;
    const CSlotChoices& Choices() const { return m_choices; }

    // Reads the storages again, keeping the selected one when it is still there.
    void RefreshStorages();

    // Strips a ":" suffix: "Storage Card: 2 GB" -> "Storage Card".
    static QString StorageName(const QString& item);

    void accept() override;

private:
    void BuildUi();
    void Load();
    void ShowChoices();
    // Lists the storages and selects `wanted`, else `fallback`, else the first.
    void FillStorages(const QString& wanted, const QString& fallback);
    void OnSlotChosen(int slot, const QString& text);
    bool Store();

    SContext m_context;
    CSlotChoices m_choices;
    std::array<QComboBox*, 4> m_slotLists{};
    std::array<QLabel*, 4> m_slotLabels{};
    QComboBox* m_format = nullptr;
    CDropDown* m_storage = nullptr;
    QLineEdit* m_pimFolder = nullptr;
};
