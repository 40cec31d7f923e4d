#pragma once

#include <string>

// The name of a record about to be recorded, taken before the recording starts: the file
// is created empty and exclusively, so that another process choosing the same name in the
// same second cannot make two recordings write into one file. When the recording never
// starts (no input device, a refused start) the empty file is removed again; a file that
// received anything is kept whatever happens next, because it is a record.
//
// While reserved, the file carries an exclusive advisory lock (flock), which the record
// deletes of this and every other process take as "in use": a recording in progress is
// never deleted under the recorder.
class CReservedFile
{
public:
    // Takes charge of `path`, which the caller has just created with TryCreate, and locks it.
    explicit CReservedFile(std::string path);
    // Removes the file when it is still empty; releases the lock.
    ~CReservedFile();
    CReservedFile(const CReservedFile&) = delete;
    CReservedFile& operator=(const CReservedFile&) = delete;

    // Creates `path` exclusively; false when it exists already or cannot be created.
    static bool TryCreate(const std::string& path);

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    int m_lockFd = -1;
};
