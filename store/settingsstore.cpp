#include "store/settingsstore.h"

#include "platform/disksync.h"
#include "platform/home.h"
#include "store/cataloguelock.h"
#include "store/linefile.h"
#include "store/slotkind.h"
#include "store/slotrules.h"
#include "store/storagepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// Every key and default in one place.
constexpr std::array<const char*, CSettingsStore::kSlotCount> kSlotKeys{"Slot1", "Slot2", "Slot3",
                                                                        "Slot4"};
constexpr std::array<QLatin1String, CSettingsStore::kSlotCount> kSlotDefaults{
    SlotRules::kPriority, CSlotKind::kContacts, CSlotKind::kTask, CSlotKind::kNone};
constexpr std::array<QLatin1String, CSettingsStore::kSlotCount> kFirstStartSlots{
    SlotRules::kPriority, CSlotKind::kNone, CSlotKind::kNone, CSlotKind::kNone};
constexpr const char* kFormatKey = "Format";
constexpr int kFormatDefault = 0;
constexpr const char* kStorageKey = "Storage";
constexpr const char* kAppPathKey = "AppPath";
constexpr const char* kPimFolderKey = "PimFolder";
constexpr const char* kPimSourceKey = "PimSource";
constexpr const char* kInputDeviceKey = "InputDevice";
constexpr const char* kOutputDeviceKey = "OutputDevice";
constexpr const char* kShowSplashKey = "ShowSplash";
constexpr const char* kPlaybackSpeedKey = "PlaybackSpeed";
constexpr const char* kExportFolderKey = "ExportFolder";
constexpr const char* kExportFormatKey = "ExportFormat";

// The offered speed `speed` stands for, if any (a stored text need not be exact).
std::optional<double> OfferedSpeed(double speed)
{
    for (const double offered : CSettingsStore::kPlaybackSpeeds) {
        if (std::abs(offered - speed) < 1e-6)
            return offered;
    }
    return std::nullopt;
}

bool IsSlotIndex(int index)
{
    return index >= 0 && index < CSettingsStore::kSlotCount;
}

std::unique_ptr<QSettings> OpenFromEnvironment()
{
    if (Home::IsChosenByEnvironment())
        return std::make_unique<QSettings>(Home::Folder() + QStringLiteral("settings.ini"),
                                           QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(Home::kOrganisation),
                                       QLatin1String(Home::kApplication));
}

} // namespace

CSettingsStore::CSettingsStore() : m_settings(OpenFromEnvironment()) {}

CSettingsStore::CSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{}

CSettingsStore::~CSettingsStore() = default;

QString CSettingsStore::Text(const char* key, const QString& fallback) const
{
    const QVariant value = m_settings->value(QLatin1String(key));
    if (!value.isValid() || !value.canConvert<QString>())
        return fallback;
    return value.toString();
}

// QSettings would rewrite the file itself, and on a full disk replace it with an empty one
// while reporting success. So the change is made on a copy in the same folder, under the
// settings' lock: the copy is written with every byte checked, changed and saved by
// QSettings, read back, and only then renamed over the file.
bool CSettingsStore::Write(const char* key, const QString& value)
{
    const QString file = m_settings->fileName();
    // On a first start the settings folder does not exist yet, and the lock lives in it.
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    const CCatalogueLock lock(file);
    m_busy = lock.Busy();
    const std::optional<QString> target = LineFile::WriteTarget(file);
    if (!lock.Held() || !target || !QDir().mkpath(QFileInfo(*target).absolutePath()))
        return false;
    const QString copy = *target + QStringLiteral(".new");
    const std::optional<QByteArray> old = LineFile::ReadBytes(*target);
    if (!old && QFileInfo::exists(*target))
        return false;
    if (!LineFile::ReplaceBytes(copy, old.value_or(QByteArray())))
        return false;
    bool saved = false;
    {
        QSettings changed(copy, QSettings::IniFormat);
        changed.setValue(QLatin1String(key), value);
        changed.sync();
        saved = changed.status() == QSettings::NoError;
    }
    if (saved) {
        const QSettings check(copy, QSettings::IniFormat);
        saved = check.status() == QSettings::NoError &&
                check.value(QLatin1String(key)).toString() == value;
    }
    const QByteArray copyPath = QFile::encodeName(copy);
    const QByteArray targetPath = QFile::encodeName(*target);
    if (!saved || !DiskSync::SyncFile(copyPath.toStdString()) ||
        ::rename(copyPath.constData(), targetPath.constData()) != 0) {
        QFile::remove(copy);
        return false;
    }
    m_settings->sync(); // reads the new file
    // The rename reaches the disk only with the folder.
    return DiskSync::SyncFolderOf(targetPath.toStdString());
}

QString CSettingsStore::WriteFailureMessage() const
{
    return CCatalogueLock::FailureMessage(QString::fromLatin1(kWriteFailedMessage), m_busy);
}

QString CSettingsStore::DefaultSlot(int index)
{
    return IsSlotIndex(index) ? kSlotDefaults[index] : CSlotKind::kNone;
}

QString CSettingsStore::FirstStartSlot(int index)
{
    return IsSlotIndex(index) ? kFirstStartSlots[index] : CSlotKind::kNone;
}

QString CSettingsStore::Slot(int index) const
{
    if (!IsSlotIndex(index))
        return CSlotKind::kNone;
    return Text(kSlotKeys[index], DefaultSlot(index));
}

bool CSettingsStore::HasSlot(int index) const
{
    return IsSlotIndex(index) && m_settings->contains(QLatin1String(kSlotKeys[index]));
}

bool CSettingsStore::SetSlot(int index, const QString& kind)
{
    return IsSlotIndex(index) && Write(kSlotKeys[index], kind);
}

bool CSettingsStore::WriteFirstStartSlots()
{
    bool written = true;
    for (int index = 0; index < kSlotCount; ++index) {
        if (!HasSlot(index))
            written = SetSlot(index, FirstStartSlot(index)) && written;
    }
    return written;
}

int CSettingsStore::Format() const
{
    bool ok = false;
    const int format = Text(kFormatKey, QString()).trimmed().toInt(&ok);
    return ok ? format : kFormatDefault;
}

bool CSettingsStore::SetFormat(int format)
{
    return Write(kFormatKey, QString::number(format));
}

QString CSettingsStore::Storage() const
{
    return Text(kStorageKey, StoragePaths::kDeviceMemory);
}

bool CSettingsStore::SetStorage(const QString& storage)
{
    return Write(kStorageKey, storage);
}

QString CSettingsStore::AppPath() const
{
    return Text(kAppPathKey, QString());
}

bool CSettingsStore::SetAppPath(const QString& path)
{
    return Write(kAppPathKey, path);
}

QString CSettingsStore::PimFolder() const
{
    return Text(kPimFolderKey, QString());
}

bool CSettingsStore::SetPimFolder(const QString& folder)
{
    return Write(kPimFolderKey, folder);
}

std::optional<EPimOrigin> CSettingsStore::PimSource() const
{
    return PimOrigin::Parse(Text(kPimSourceKey, QString()));
}

bool CSettingsStore::SetPimSource(EPimOrigin origin)
{
    return Write(kPimSourceKey, PimOrigin::Name(origin));
}

QString CSettingsStore::Location() const
{
    return m_settings->fileName();
}

QString CSettingsStore::InputDevice() const
{
    return Text(kInputDeviceKey, QString());
}

bool CSettingsStore::SetInputDevice(const QString& name)
{
    return Write(kInputDeviceKey, name);
}

QString CSettingsStore::OutputDevice() const
{
    return Text(kOutputDeviceKey, QString());
}

bool CSettingsStore::SetOutputDevice(const QString& name)
{
    return Write(kOutputDeviceKey, name);
}

double CSettingsStore::PlaybackSpeed() const
{
    bool number = false;
    const double speed = Text(kPlaybackSpeedKey, QString()).trimmed().toDouble(&number);
    return number ? OfferedSpeed(speed).value_or(1.0) : 1.0;
}

bool CSettingsStore::SetPlaybackSpeed(double speed)
{
    const std::optional<double> offered = OfferedSpeed(speed);
    return offered && Write(kPlaybackSpeedKey, QString::number(*offered));
}

bool CSettingsStore::ShowSplash() const
{
    return Text(kShowSplashKey, QString()) != QLatin1String("false");
}

bool CSettingsStore::SetShowSplash(bool show)
{
    return Write(kShowSplashKey, show ? QStringLiteral("true") : QStringLiteral("false"));
}

QString CSettingsStore::ExportFolder() const
{
    return Text(kExportFolderKey, QString());
}

bool CSettingsStore::SetExportFolder(const QString& folder)
{
    return Write(kExportFolderKey, folder);
}

QString CSettingsStore::ExportFormat() const
{
    return Text(kExportFormatKey, QString());
}

bool CSettingsStore::SetExportFormat(const QString& extension)
{
    return Write(kExportFormatKey, extension);
}
