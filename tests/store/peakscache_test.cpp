#include "audio/audiomanager.h"
#include "platform/simwavebackend.h"
#include "store/peakscache.h"
#include "support/qtsupport.h"
#include "support/wavfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

// A cache over a temporary folder, with the event loop its answers come through.
class PeaksCacheTest : public ::testing::Test
{
protected:
    // Runs the event loop until `path`'s peaks are ready or 5 s have passed.
    bool WaitFor(const std::filesystem::path& path)
    {
        bool ready = false;
        const auto connection =
            QObject::connect(&cache, &CPeaksCache::Ready,
                             [&](const std::filesystem::path& p) { ready |= p == path; });
        QElapsedTimer clock;
        clock.start();
        while (!ready && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QObject::disconnect(connection);
        return ready;
    }

    std::filesystem::path File(const char* name) const
    {
        return m_dir.filePath(QString::fromLatin1(name)).toStdString();
    }

    int m_argc = 1;
    char m_name[16] = "peakscache_test";
    char* m_argv[1] = {m_name};
    QCoreApplication m_application{m_argc, m_argv};
    QTemporaryDir m_dir;
    CAudioManager audio{std::make_unique<CSimWaveBackend>(SSimWaveConfig{})};
    CPeaksCache cache{audio};
};

// Computed once, kept while the file stays as it is, computed again once it changes; a file
// that is no record has empty peaks rather than a request that never ends.
TEST_F(PeaksCacheTest, KeepsARecordsPeaksUntilTheFileChanges)
{
    const std::filesystem::path memo = File("memo.wav");
    WriteFile(memo.string(), WavFile(Bytes(8000, 0xC0)));
    EXPECT_EQ(cache.Peaks(memo), nullptr);
    ASSERT_TRUE(WaitFor(memo));
    const auto first = cache.Peaks(memo);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->totalSamples, 8000u);
    EXPECT_EQ(cache.Peaks(memo), first);

    WriteFile(memo.string(), WavFile(Bytes(12000, 0x40)));
    EXPECT_EQ(cache.Peaks(memo), nullptr);
    ASSERT_TRUE(WaitFor(memo));
    const auto second = cache.Peaks(memo);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->totalSamples, 12000u);
    EXPECT_EQ(second->Columns(1).front(), (SWaveformPeaks::SRange{0x40, 0x40}));

    const std::filesystem::path broken = File("broken.wav");
    WriteFile(broken.string(), Str("RIFF, but nothing more"));
    EXPECT_EQ(cache.Peaks(broken), nullptr);
    ASSERT_TRUE(WaitFor(broken));
    ASSERT_NE(cache.Peaks(broken), nullptr);
    EXPECT_EQ(cache.Peaks(broken)->totalSamples, 0u);
}

} // namespace
