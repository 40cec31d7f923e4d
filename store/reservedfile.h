#pragma once

#include <memory>
#include <string>

// The file of a record about to be recorded, taken before the recording starts: it is created
// empty and exclusively, so that another process choosing the same name in the same second
// cannot make two recordings write into one file. When the recording never starts (no input
// device, a refused start) the empty file is removed again; a file that received anything is
// kept whatever happens next, because it is a record.
//
// The object holds the file open, and the recording reaches it through FilePath(), not by its
// name: a record renamed or replaced meanwhile by another program keeps its own audio and
// information, and no other file ever receives them.
//
// While reserved, the file carries the record lock (CRecordLock) together with an
// open-file-description lock that marks it as being recorded: every delete, rename and
// information edit of this and every other process takes it as "in use" at once.
class CReservedFile
{
public:
    // Creates `path` exclusively (never through a link) and locks it; nullptr when it exists
    // already or cannot be created (errno says why).
    static std::unique_ptr<CReservedFile> Create(const std::string& path);
    // Removes the file when it is still empty and still has its name; releases the locks.
    ~CReservedFile();
    CReservedFile(const CReservedFile&) = delete;
    CReservedFile& operator=(const CReservedFile&) = delete;

    // Removes the file, when it still has its name, whatever it holds: the recording did not
    // start after all (the encoder may have written a header already).
    void Discard();

    // True when no name leads to the file any more: another program deleted it.
    bool Deleted() const;

    // The name the file was created under.
    const std::string& Path() const { return m_path; }
    // The file itself, whatever its name has become (see CRecordLock::FilePath).
    std::string FilePath() const;

private:
    CReservedFile(std::string path, int fd);
    // True when the name still leads to our file.
    bool NameIsOurs() const;

    std::string m_path;
    int m_fd = -1;
};
