#include "store/lengthcache.h"

#include "store/linefile.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstring>
#include <ctime>

namespace {

// The first bytes of the file; the version after them is written in this machine's byte
// order, so a file from a machine of the other order reads as malformed.
constexpr std::string_view kMagic = "parlantographer lengths\n";
constexpr std::uint32_t kVersion = 1;
// What follows each entry's path: device, inode, size, modification and change times, samples.
constexpr std::size_t kFields = 6;
// Longer than any path the system opens.
constexpr std::uint32_t kLongestPath = 4096;
// Slower clocks of file systems' times stay within it.
constexpr std::int64_t kSettleNs = 2'000'000'000;

template <typename T> void Put(QByteArray& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The next `T` of `bytes` from `at`, which moves past it; nullopt past their end.
template <typename T> std::optional<T> Take(QByteArrayView bytes, qsizetype& at)
{
    if (bytes.size() - at < static_cast<qsizetype>(sizeof(T)))
        return std::nullopt;
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    at += static_cast<qsizetype>(sizeof value);
    return value;
}

std::optional<CLengthCache::SEntry> TakeEntry(QByteArrayView bytes, qsizetype& at)
{
    const std::optional<std::uint32_t> length = Take<std::uint32_t>(bytes, at);
    if (!length || *length == 0 || *length > kLongestPath || bytes.size() - at < *length)
        return std::nullopt;
    CLengthCache::SEntry entry;
    entry.path.assign(bytes.data() + at, *length);
    at += *length;
    std::array<std::uint64_t, kFields> fields{};
    for (std::uint64_t& field : fields) {
        const std::optional<std::uint64_t> value = Take<std::uint64_t>(bytes, at);
        if (!value)
            return std::nullopt;
        field = *value;
    }
    entry.stamp.device = fields[0];
    entry.stamp.inode = fields[1];
    entry.stamp.size = fields[2];
    entry.stamp.modifiedNs = static_cast<std::int64_t>(fields[3]);
    entry.stamp.changedNs = static_cast<std::int64_t>(fields[4]);
    entry.samples = fields[5];
    return entry;
}

} // namespace

std::int64_t CLengthCache::Now()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

CLengthCache::CLengthCache(QString file, Clock now) : m_file(std::move(file)), m_now(std::move(now))
{
    const std::optional<QByteArray> bytes = LineFile::ReadBytes(m_file);
    if (!bytes)
        return;
    std::optional<std::vector<SEntry>> entries = Parse(*bytes);
    // A malformed file is written again whole by the next save.
    m_changed = !entries;
    if (!entries)
        return;
    m_kept.reserve(entries->size());
    for (SEntry& entry : *entries)
        m_kept.insert_or_assign(std::move(entry.path), SKept{entry.stamp, entry.samples, false});
}

std::optional<std::uint64_t> CLengthCache::Find(std::string_view path, const SFileStamp& stamp)
{
    const auto found = m_kept.find(path);
    if (found == m_kept.end() || !found->second.stamp.SameAs(stamp))
        return std::nullopt;
    found->second.asked = true;
    return found->second.samples;
}

void CLengthCache::Remember(std::string_view path, const SFileStamp& stamp, std::uint64_t samples)
{
    if (!Settled(stamp, m_now()))
        return;
    SFileStamp kept = stamp;
    kept.bornNs.reset();
    m_kept.insert_or_assign(std::string(path), SKept{kept, samples, true});
    m_changed = true;
}

bool CLengthCache::Save()
{
    std::vector<SEntry> entries;
    entries.reserve(m_kept.size());
    for (const auto& [path, kept] : m_kept) {
        if (kept.asked)
            entries.push_back({path, kept.stamp, kept.samples});
    }
    // Entries that no longer answer (files gone, changed or out of the folders) are dropped.
    if (!m_changed && entries.size() == m_kept.size())
        return true;
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    if (!LineFile::ReplaceBytes(m_file, Format(entries), LineFile::EDurability::Unsynced))
        return false;
    std::erase_if(m_kept, [](const auto& kept) { return !kept.second.asked; });
    m_changed = false;
    return true;
}

QByteArray CLengthCache::Format(const std::vector<SEntry>& entries)
{
    QByteArray bytes(kMagic.data(), static_cast<qsizetype>(kMagic.size()));
    Put(bytes, kVersion);
    for (const SEntry& entry : entries) {
        Put(bytes, static_cast<std::uint32_t>(entry.path.size()));
        bytes.append(entry.path.data(), static_cast<qsizetype>(entry.path.size()));
        for (const std::uint64_t field :
             {entry.stamp.device, entry.stamp.inode, entry.stamp.size,
              static_cast<std::uint64_t>(entry.stamp.modifiedNs),
              static_cast<std::uint64_t>(entry.stamp.changedNs), entry.samples})
            Put(bytes, field);
    }
    return bytes;
}

std::optional<std::vector<CLengthCache::SEntry>> CLengthCache::Parse(QByteArrayView bytes)
{
    if (!bytes.startsWith(QByteArrayView(kMagic.data(), static_cast<qsizetype>(kMagic.size()))))
        return std::nullopt;
    auto at = static_cast<qsizetype>(kMagic.size());
    if (Take<std::uint32_t>(bytes, at) != kVersion)
        return std::nullopt;
    std::vector<SEntry> entries;
    while (at < bytes.size()) {
        std::optional<SEntry> entry = TakeEntry(bytes, at);
        if (!entry)
            return std::nullopt;
        entries.push_back(std::move(*entry));
    }
    return entries;
}

bool CLengthCache::Settled(const SFileStamp& stamp, std::int64_t nowNs)
{
    return std::max(stamp.modifiedNs, stamp.changedNs) <= nowNs - kSettleNs;
}
