#include "audio/audiomanager.h"
#include "audio/baseencoder.h"
#include "platform/wavebackend.h"
#include "store/lengthcache.h"
#include "store/recordstream.h"
#include "support/qtsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kNow = 1'800'000'000 * kSecond;

SFileStamp Stamp(std::uint64_t size, std::int64_t changedNs = kNow - 60 * kSecond)
{
    SFileStamp stamp;
    stamp.device = 2049;
    stamp.inode = 77;
    stamp.size = size;
    stamp.modifiedNs = changedNs - kSecond;
    stamp.changedNs = changedNs;
    return stamp;
}

// A length answers for the file as it was; a file changed moments ago is not kept; what a
// listing did not ask about is dropped at its save; nothing changed, nothing is written.
TEST(LengthCache, KeepsALengthForTheFileAsItWasAndOnlyWhatTheListingAskedFor)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/cache/lengths";
    const auto clock = [] {
        return kNow;
    };
    {
        CLengthCache cache(file, clock);
        cache.Remember("/d/a.ogg", Stamp(1000), 8000);
        cache.Remember("/d/b.ogg", Stamp(2000), 16000);
        cache.Remember("/d/fresh.ogg", Stamp(3000, kNow - kSecond), 24000);
        ASSERT_TRUE(cache.Save()) << "its folder is made";
    }
    CLengthCache cache(file, clock);
    EXPECT_EQ(cache.Find("/d/a.ogg", Stamp(1000)), 8000u);
    EXPECT_FALSE(cache.Find("/d/fresh.ogg", Stamp(3000, kNow - kSecond)));
    EXPECT_FALSE(cache.Find("/d/c.ogg", Stamp(1000)));
    SFileStamp changed = Stamp(1000);
    for (std::uint64_t SFileStamp::*field :
         {&SFileStamp::device, &SFileStamp::inode, &SFileStamp::size}) {
        changed = Stamp(1000);
        ++(changed.*field);
        EXPECT_FALSE(cache.Find("/d/a.ogg", changed));
    }
    for (std::int64_t SFileStamp::*field : {&SFileStamp::modifiedNs, &SFileStamp::changedNs}) {
        changed = Stamp(1000);
        ++(changed.*field);
        EXPECT_FALSE(cache.Find("/d/a.ogg", changed));
    }
    ASSERT_TRUE(cache.Save());
    const std::optional<std::vector<CLengthCache::SEntry>> saved =
        CLengthCache::Parse(ReadAll(file));
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), 1u) << "b.ogg was not asked about";
    EXPECT_EQ((*saved)[0].path, "/d/a.ogg");

    const auto modified = std::filesystem::last_write_time(Native(file));
    CLengthCache again(file, clock);
    EXPECT_EQ(again.Find("/d/a.ogg", Stamp(1000)), 8000u);
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(std::filesystem::last_write_time(Native(file)), modified);
}

// Only a whole file of this format is read; anything else is an empty cache that the next
// save replaces.
TEST(LengthCache, AFileCutShortOrMalformedIsAnEmptyCacheWrittenAgain)
{
    const QByteArray whole = CLengthCache::Format(
        {{"/d/a.ogg", Stamp(1000), 8000}, {std::string("/d/\xff b.ogg"), Stamp(9), 1}});
    const std::optional<std::vector<CLengthCache::SEntry>> read = CLengthCache::Parse(whole);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].path, "/d/\xff b.ogg");
    EXPECT_TRUE((*read)[1].stamp.SameAs(Stamp(9)));
    // A cut between entries leaves whole ones, which still answer for their files; any other
    // cut is no file of this format. The first entry's path length follows the header.
    const qsizetype header = CLengthCache::Format({}).size();
    const qsizetype first = CLengthCache::Format({(*read)[0]}).size();
    for (qsizetype size = 0; size < whole.size(); ++size) {
        if (size != header && size != first) {
            EXPECT_FALSE(CLengthCache::Parse(whole.first(size))) << size;
        }
    }
    QByteArray zeroPath = whole;
    zeroPath[header] = 0;
    EXPECT_FALSE(CLengthCache::Parse(zeroPath));
    QByteArray hugePath = whole;
    hugePath[header + 3] = 0x7f;
    EXPECT_FALSE(CLengthCache::Parse(hugePath));

    QTemporaryDir dir;
    const QString file = dir.path() + "/lengths";
    ASSERT_TRUE(WriteAll(file, whole.first(whole.size() - 3)));
    CLengthCache cache(file, [] { return kNow; });
    EXPECT_FALSE(cache.Find("/d/a.ogg", Stamp(1000)));
    ASSERT_TRUE(cache.Save());
    const auto written = CLengthCache::Parse(ReadAll(file));
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->empty());
}

QString SpeexMemo(const QString& path, int seconds)
{
    CAudioManager manager;
    manager.SetCodec(Codec::Speex);
    const auto encoder = manager.CreateEncoder(Codec::Speex);
    encoder->SetInfo(kMarkedInfo.toStdString());
    encoder->Open(path.toStdString(), false);
    const std::vector<std::uint8_t> second(8000, 0x90);
    for (int s = 0; s < seconds; ++s)
        encoder->Write(second, s + 1 == seconds);
    encoder->Close();
    return path;
}

std::map<std::string, std::optional<std::uint64_t>> Lengths(const QString& folder,
                                                            CLengthCache* cache)
{
    std::map<std::string, std::optional<std::uint64_t>> lengths;
    CAudioManager audio;
    RecordStream::Each(
        {folder}, SRecordQuery{}, RecordStream::ELength::Always, RecordReader::DecodersOf(audio),
        [&](const SBrowsedRecord& record) { lengths[record.path] = record.samples; }, cache);
    return lengths;
}

// Listings with the cache give what the tails give, named by date or not; a memo cut short
// since is read again.
TEST(LengthCache, AListingReadsAChangedMemoAgain)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/Data/";
    QDir().mkpath(data);
    const QString cut = SpeexMemo(data + "01022026_100000.ogg", 3);
    SpeexMemo(data + "Meeting.ogg", 2);
    ASSERT_TRUE(WriteAll(data + "01022026_110000.wav", Wav(kMarkedInfo)));
    const QString file = dir.path() + "/lengths";
    // Files made just now are settled for a clock ten seconds ahead.
    const auto ahead = [] {
        return CLengthCache::Now() + 10 * kSecond;
    };
    const auto uncached = Lengths(data, nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        CLengthCache cache(file, ahead);
        EXPECT_EQ(Lengths(data, &cache), uncached) << pass;
        ASSERT_TRUE(cache.Save());
        const auto kept = CLengthCache::Parse(ReadAll(file));
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->size(), 2u) << "the Speex memos only";
    }
    std::filesystem::resize_file(Native(cut), std::filesystem::file_size(Native(cut)) - 40);
    CLengthCache cache(file, ahead);
    const auto after = Lengths(data, &cache);
    EXPECT_EQ(after, Lengths(data, nullptr));
    EXPECT_LT(after.at(Native(cut).native()), uncached.at(Native(cut).native()));
}

} // namespace
