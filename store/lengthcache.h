#pragma once

#include "store/filestamp.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The lengths of Speex memos as their tails gave them, kept from one listing to the next in
// one file: a listing then learns a known memo's length from a status call, where reading its
// tail costs a lookup and a copy of two pages that no processor cache holds.
//
// An entry answers only for the file as it was when its tail was read: the same device,
// inode, size, modification time and change time. Every write sets the change time, which no
// program can set back, so a changed memo is read again. A file whose times lie within the
// last two seconds is not remembered: a write in the same tick of the file system's clock
// would leave them as they were.
//
// The file holds nothing that is not found again: a missing, unreadable or malformed one is an
// empty cache, and Save leaves out what this listing did not ask about. Not thread-safe.
class CLengthCache
{
public:
    struct SEntry
    {
        std::string path;
        SFileStamp stamp; // its birth time is not kept
        std::uint64_t samples = 0;
    };

    // Nanoseconds since the epoch, as the file system's times count them.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t Now();

    // Loads `file` (none: an empty cache).
    explicit CLengthCache(QString file, Clock now = Now);

    // The samples of the file at `path` when it is as it was when they were remembered.
    std::optional<std::uint64_t> Find(std::string_view path, const SFileStamp& stamp);
    // Remembers what the tail of the file at `path` gave, unless the file changed too lately.
    void Remember(std::string_view path, const SFileStamp& stamp, std::uint64_t samples);
    // Writes the entries found or remembered since the file was loaded, when they differ from
    // what it held. False when that write failed; the file is then as it was.
    bool Save();

    // The bytes of the file for `entries`, and back: nullopt for anything but a whole file.
    static QByteArray Format(const std::vector<SEntry>& entries);
    static std::optional<std::vector<SEntry>> Parse(QByteArrayView bytes);
    // Whether a file with `stamp` has been left alone long enough to be remembered at `nowNs`.
    static bool Settled(const SFileStamp& stamp, std::int64_t nowNs);

private:
    struct SHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view path) const
        {
            return std::hash<std::string_view>{}(path);
        }
    };
    struct SKept
    {
        SFileStamp stamp;
        std::uint64_t samples = 0;
        bool asked = false; // found or remembered by this listing
    };

    QString m_file;
    Clock m_now;
    std::unordered_map<std::string, SKept, SHash, std::equal_to<>> m_kept;
    bool m_changed = false;
};
