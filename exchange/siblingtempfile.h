#pragma once

#include <QString>

// A new file written under a hidden temporary name (".<name>.XXXXXX") in the folder where
// it is to end up, and given its final name only by Commit, so that a failed, cancelled or
// interrupted write never leaves a half file under that name. Hidden names are skipped by
// the record lists, so a record folder never shows the file while it is written. Destroyed
// before Commit succeeded, the file is removed.
class CSiblingTempFile
{
public:
    // Creates the file in `folder` (mode 0644); `name` only shapes the temporary name. Check
    // Ok(): a missing or read-only folder gives none, with Error() saying why.
    CSiblingTempFile(const QString& folder, const QString& name);
    ~CSiblingTempFile();
    CSiblingTempFile(const CSiblingTempFile&) = delete;
    CSiblingTempFile& operator=(const CSiblingTempFile&) = delete;

    bool Ok() const { return m_fd >= 0; }
    // Open read-write until Commit; its owner writes through it or through Path().
    int Fd() const { return m_fd; }
    QString Path() const { return m_path; }
    // The system's reason for the last failure.
    QString Error() const { return m_error; }

    // Gives the file the modification time of the file at `source`, to the nanosecond (the
    // moment a memo was recorded, for a record without a record name).
    bool TakeModifiedTime(const QString& source);

    enum class ECommit
    {
        Done,
        Exists, // `finalPath` exists and `replace` was false: nothing changed
        Failed  // Error() says why; the temporary file is removed
    };
    // Syncs and closes the file and renames it to `finalPath` (in the same folder): over an
    // existing file when `replace`, never otherwise, even when one appears meanwhile; then
    // syncs the folder. After Exists the file stays, to be committed under another name.
    ECommit Commit(const QString& finalPath, bool replace);

private:
    void Remove();

    QString m_path;
    QString m_folder;
    QString m_error;
    int m_fd = -1;
};
