#pragma once

#include <string>

// Pushing what was written to the disk, so that a power cut loses no more than a kill does.
// A file's data reaches the disk with its own sync; a name made, changed or removed in a
// folder (a new record, a rename, a move to the trash) only with a sync of the folder.
namespace DiskSync {

// Syncs the folder itself: its entries reach the disk. True as well where the file system
// has nothing to sync for a folder (it refuses the request as unsupported).
bool SyncFolder(const std::string& folder);

// SyncFolder of the folder that holds `path` (the working folder for a bare name).
bool SyncFolderOf(const std::string& path);

// Syncs a regular file's data and its status (times included). Not for anything else: a
// FIFO or a device is never opened.
bool SyncFile(const std::string& path);

} // namespace DiskSync
