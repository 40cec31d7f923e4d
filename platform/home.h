#pragma once

#include <QString>

// The home: the folder that holds the catalogues ("groups.dat", "locations.dat"), the
// settings when it is chosen explicitly, and the folder Data/ for records kept in device
// memory. All paths returned here end with "/".
namespace Home {

inline constexpr const char* kOrganisation = "Brindlewares";
inline constexpr const char* kApplication = "Parlantographer";
inline constexpr const char* kHomeVariable = "PARLANTOGRAPHER_HOME";

// $PARLANTOGRAPHER_HOME when set and not empty, else the per-user application data folder
// (<data location>/Brindlewares/Parlantographer/). The folder is not created here.
QString Folder();

// True when $PARLANTOGRAPHER_HOME chooses the home (and with it the settings file).
bool IsChosenByEnvironment();

// The per-user application data folder, whatever the environment says: the device memory.
QString ApplicationDataFolder();

// Where what is made again when lost is kept: the home when $PARLANTOGRAPHER_HOME chooses
// it (a chosen home is self-contained), else the per-user cache folder
// (<cache location>/Brindlewares/Parlantographer/). The folder is not created here.
QString CacheFolder();

// Data folder in device memory used when the home lies on a removable volume:
// ApplicationDataFolder() + "Data/".
QString DeviceDataFolder();

// `path` with exactly one "/" at its end (empty stays empty).
QString WithTrailingSlash(const QString& path);

} // namespace Home
