#pragma once

#include "store/pimorigin.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

class QSettings;

// The program's stored settings, typed. Values live in QSettings for organisation
// "Brindlewares", application "Parlantographer"; when $PARLANTOGRAPHER_HOME is set they live
// in <home>/settings.ini instead, so that a home is self-contained. Every value is stored as
// text. Reading never fails: a value that is missing or unreadable gives its default.
// Writing returns false when the value could not be stored (WriteFailureMessage is the text to
// show); the stored value is then whatever was there before or unknown, never reported saved.
class CSettingsStore
{
public:
    static constexpr int kSlotCount = 4;
    static constexpr const char* kWriteFailedMessage = "Problems with writing to the registry";

    // Storage chosen by the environment (see above).
    CSettingsStore();
    // Storage in the given INI file (tests, or a home chosen explicitly).
    explicit CSettingsStore(const QString& iniPath);
    ~CSettingsStore();
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    // kWriteFailedMessage, saying also when the last write failed because another program
    // kept the settings locked (see CCatalogueLock).
    QString WriteFailureMessage() const;

    // The kind shown by slot `index` (0..3, settings "Slot1".."Slot4"); defaults "Priority",
    // "Contacts", "Task", "None". An index out of range gives "None".
    QString Slot(int index) const;
    // True when "Slot<index+1>" is stored at all (first start writes the defaults below).
    bool HasSlot(int index) const;
    bool SetSlot(int index, const QString& kind);
    // Writes the first-start kinds ("Priority", then "None" three times) into every slot that
    // is not stored yet; stored slots are left alone. False when a write failed.
    bool WriteFirstStartSlots();
    // The default kind of slot `index` when it is read, and the kind first start writes.
    static QString DefaultSlot(int index);
    static QString FirstStartSlot(int index);

    // Recording format "Format": the stored decimal number, 0 when missing or not a number.
    // The value is not range-checked here; 0..5 are the rows of the formats table.
    int Format() const;
    bool SetFormat(int format);

    // "Storage": "Device memory" or a card name; default "Device memory".
    QString Storage() const;
    bool SetStorage(const QString& storage);

    // "AppPath": the program folder written at every start; empty when missing.
    QString AppPath() const;
    bool SetAppPath(const QString& path);

    // "PimFolder": the contacts-and-tasks folder chosen by the user; empty when missing.
    QString PimFolder() const;
    bool SetPimFolder(const QString& folder);

    // "PimSource": where contacts and tasks come from; nullopt when missing or not one of
    // "desktop", "folder" and "both" (the default then depends on the desktop's service).
    std::optional<EPimOrigin> PimSource() const;
    bool SetPimSource(EPimOrigin origin);

    // "InputDevice" and "OutputDevice": the sound device's name to record from and to play
    // on; empty (the default) follows the sound server's default device.
    QString InputDevice() const;
    bool SetInputDevice(const QString& name);
    QString OutputDevice() const;
    bool SetOutputDevice(const QString& name);

    // "PlaybackSpeed": how fast the records browser plays, one of kPlaybackSpeeds; 1 when
    // missing or not one of them. Only those speeds are stored.
    static constexpr std::array<double, 5> kPlaybackSpeeds{0.75, 1.0, 1.25, 1.5, 2.0};
    double PlaybackSpeed() const;
    bool SetPlaybackSpeed(double speed);

    // "ShowSplash": whether the splash screen shows at start; stored as "true" or "false",
    // true when missing or anything else.
    bool ShowSplash() const;
    bool SetShowSplash(bool show);

    // "ExportFolder" and "ExportFormat": where the records browser last exported to and the
    // format it chose, as the exported file's extension without the dot ("flac"); empty when
    // missing. Kept as written: the browser decides what a value it does not know means.
    QString ExportFolder() const;
    bool SetExportFolder(const QString& folder);
    QString ExportFormat() const;
    bool SetExportFormat(const QString& extension);

    // Where the values are kept (an INI file path or the native settings file).
    QString Location() const;

private:
    QString Text(const char* key, const QString& fallback) const;
    bool Write(const char* key, const QString& value);

    std::unique_ptr<QSettings> m_settings;
    bool m_busy = false;
};
