#pragma once

#include <cstdint>
#include <optional>

struct statx;

// A file's identity, size and times as one status call gives them: what a refresh compares to
// tell whether a file changed since it was read, and what a record's date comes from when its
// name gives none. The change time belongs to it: an information edit keeps the modification
// time (that is when the recording ended) but cannot keep the change time, so an edit made
// in place by another program is seen too.
struct SFileStamp
{
    // The mask a status call asks for.
    static const unsigned kStatxMask;

    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch
    std::int64_t changedNs = 0;
    std::optional<std::int64_t> bornNs; // where the file system keeps a birth time

    static SFileStamp Of(const struct statx& status);
    // The same file with the same content, as far as its status tells.
    bool SameAs(const SFileStamp& other) const;
};
