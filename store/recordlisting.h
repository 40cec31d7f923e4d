#pragma once

#include "store/filestamp.h"
#include "store/recordcatalogue.h"
#include "store/recordreader.h"

#include <QStringList>
#include <cstdint>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The files of the record folders that may be records: regular files (no links, no
// sub-folders) whose names are neither hidden (a leading dot) nor temporary (ending in "~" or
// ".tmp"). The folders come in the order given, each once (the same folder by another path
// included); the files of a folder by name (its bytes, so the order is the same on every run).
// A missing or unreadable folder lists nothing; EOrder::AsListed leaves each folder's files in
// the order the folder gives them, for a caller to whom the order is nothing. The folders stay open
// while the listing lives, so that each file is opened relative to its folder.
class CRecordListing
{
public:
    enum class EStatus
    {
        Skipped, // the folder listing's own file type answers
        Taken,   // one status call per file (SFile::stamp), to compare with what was read before
    };

    enum class EOrder
    {
        ByName,
        AsListed,
    };

    struct SFile
    {
        std::size_t folder = 0; // into the folders listed
        std::string name;
        std::optional<SFileStamp> stamp; // with EStatus::Taken
    };

    // `expected`: about how many files the folders hold, when the caller knows (room is made
    // for them at once).
    explicit CRecordListing(const QStringList& folders, EStatus status = EStatus::Skipped,
                            EOrder order = EOrder::ByName, std::size_t expected = 0);

    const std::vector<SFile>& Files() const { return m_files; }
    // The folder, a slash and the name: the file system's bytes.
    std::string PathOf(const SFile& file) const;
    // The same, put into `path` (whose memory is used again).
    void PathTextOf(const SFile& file, std::string& path) const;
    // One pass over a listed file (RecordReader::Read).
    // `fileName`: the file's name as the lists show it, when the caller has it already.
    std::optional<RecordEntry> Read(const SFile& file, RecordReader::EDetail detail,
                                    const RecordReader::DecoderOpener& decoders,
                                    const QString& fileName = QString(),
                                    CLengthCache* lengths = nullptr) const;

private:
    struct SDirCloser
    {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    struct SFolder
    {
        std::filesystem::path path;
        std::unique_ptr<DIR, SDirCloser> dir;
    };

    void List(std::size_t index, EStatus status, EOrder order);

    std::vector<SFolder> m_folders;
    std::vector<SFile> m_files;
};
