#include "platform/wavebufferqueue.h"
#include "platform/wavenoticesink.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class CNoticeLog : public MWaveNoticeSink
{
public:
    bool PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer) override
    {
        if (notice == EWaveNotice::Done)
            done.push_back({buffer, buffer->bytesRecorded});
        return true;
    }
    std::vector<std::pair<SWaveBuffer*, std::size_t>> done;
};

struct SBuffers
{
    explicit SBuffers(std::size_t count, std::size_t length) : storage(count * length)
    {
        for (std::size_t i = 0; i < count; ++i)
            buffers.push_back({storage.data() + i * length, length, 0});
    }
    std::vector<std::uint8_t> storage;
    std::vector<SWaveBuffer> buffers;
};

TEST(WaveBufferQueue, InputFillsBuffersInOrderAndReturnsThePartialOneOnReset)
{
    CNoticeLog log;
    CWaveBufferQueue queue(log);
    SBuffers b(3, 4);
    for (auto& buffer : b.buffers)
        queue.Add(buffer);
    const std::uint8_t samples[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(queue.Fill(samples, 7), 7u);
    ASSERT_EQ(log.done.size(), 1u);
    EXPECT_EQ(log.done[0], std::make_pair(&b.buffers[0], std::size_t{4}));
    queue.ReturnAll();
    ASSERT_EQ(log.done.size(), 3u);
    EXPECT_EQ(log.done[1], std::make_pair(&b.buffers[1], std::size_t{3}));
    EXPECT_EQ(log.done[2], std::make_pair(&b.buffers[2], std::size_t{0}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.storage.begin(), b.storage.begin() + 7),
              std::vector<std::uint8_t>(samples, samples + 7));
    EXPECT_EQ(queue.Fill(samples, 7), 0u) << "no room without buffers";
}

TEST(WaveBufferQueue, OutputHandsBuffersBackOnlyOncePlayed)
{
    CNoticeLog log;
    CWaveBufferQueue queue(log);
    SBuffers b(3, 4);
    b.buffers[1].length = 0; // an empty block between two others
    b.buffers[2].length = 2;
    for (std::size_t i = 0; i < b.storage.size(); ++i)
        b.storage[i] = static_cast<std::uint8_t>(i);
    for (auto& buffer : b.buffers)
        queue.Add(buffer);
    std::uint8_t out[8] = {};
    EXPECT_EQ(queue.Take(out, 5), 5u);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 5), (std::vector<std::uint8_t>{0, 1, 2, 3, 8}));
    queue.ReleasePlayed(3);
    EXPECT_TRUE(log.done.empty());
    queue.ReleasePlayed(4);
    ASSERT_EQ(log.done.size(), 2u);
    EXPECT_EQ(log.done[0].first, &b.buffers[0]);
    EXPECT_EQ(log.done[1].first, &b.buffers[1]);
    EXPECT_EQ(queue.Take(out, 8), 1u);
    queue.ReleasePlayed(queue.TakenTotal());
    ASSERT_EQ(log.done.size(), 3u);
    EXPECT_TRUE(queue.Empty());
}

TEST(WaveBufferQueue, ResetReturnsTakenBuffersBeforeQueuedOnes)
{
    CNoticeLog log;
    CWaveBufferQueue queue(log);
    SBuffers b(2, 4);
    for (auto& buffer : b.buffers)
        queue.Add(buffer);
    std::uint8_t out[6];
    queue.Take(out, 6);
    queue.ReturnAll();
    ASSERT_EQ(log.done.size(), 2u);
    EXPECT_EQ(log.done[0].first, &b.buffers[0]);
    EXPECT_EQ(log.done[1].first, &b.buffers[1]);
}

} // namespace
