#include "platform/wavebufferqueue.h"
#include "platform/wavenoticesink.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Logs the buffers handed back, with what they held then, and owns three of them.
class CBufferLog : public MWaveNoticeSink
{
public:
    explicit CBufferLog(std::size_t length) : storage(3 * length)
    {
        for (std::size_t i = 0; i < 3; ++i)
            buffers.push_back({storage.data() + i * length, length, 0});
    }
    bool PostWaveNotice(EWaveNotice notice, SWaveBuffer* buffer) override
    {
        if (notice == EWaveNotice::Done)
            done.push_back({buffer, buffer->bytesRecorded});
        return true;
    }
    void OnCaptured(const std::uint8_t* samples, std::size_t bytes) override
    {
        captured.insert(captured.end(), samples, samples + bytes);
    }

    std::vector<std::uint8_t> storage;
    std::vector<std::uint8_t> captured;
    std::vector<SWaveBuffer> buffers;
    std::vector<std::pair<SWaveBuffer*, std::size_t>> done;
};

using Bytes = std::vector<std::uint8_t>;

TEST(WaveBufferQueue, InputFillsBuffersInOrderAndReturnsThePartialOneOnReset)
{
    CBufferLog log(4);
    CWaveBufferQueue queue(log);
    for (auto& buffer : log.buffers)
        queue.Add(buffer);
    const std::uint8_t samples[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(queue.Fill(samples, 7), 7u);
    ASSERT_EQ(log.done.size(), 1u);
    queue.ReturnAll();
    EXPECT_EQ(log.done, (decltype(log.done){
                            {&log.buffers[0], 4}, {&log.buffers[1], 3}, {&log.buffers[2], 0}}));
    EXPECT_EQ(Bytes(log.storage.begin(), log.storage.begin() + 7), Bytes(samples, samples + 7));
    EXPECT_EQ(queue.Fill(samples, 7), 0u) << "no room without buffers";
    // What was stored is what the level meter saw, and only that.
    EXPECT_EQ(log.captured, Bytes(samples, samples + 7));
    log.buffers[0].bytesRecorded = 0;
    queue.Add(log.buffers[0]);
    EXPECT_EQ(queue.Fill(samples, 7), 4u);
    EXPECT_EQ(log.captured.size(), 11u);
}

TEST(WaveBufferQueue, OutputHandsBuffersBackOnlyOncePlayed)
{
    CBufferLog log(4);
    CWaveBufferQueue queue(log);
    log.buffers[1].length = 0; // an empty block between two others
    log.buffers[2].length = 2;
    for (std::size_t i = 0; i < log.storage.size(); ++i)
        log.storage[i] = static_cast<std::uint8_t>(i);
    for (auto& buffer : log.buffers)
        queue.Add(buffer);
    std::uint8_t out[8] = {};
    EXPECT_EQ(queue.Take(out, 5), 5u);
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{0, 1, 2, 3, 8}));
    queue.ReleasePlayed(3);
    EXPECT_TRUE(log.done.empty());
    queue.ReleasePlayed(4);
    EXPECT_EQ(log.done, (decltype(log.done){{&log.buffers[0], 0}, {&log.buffers[1], 0}}));
    EXPECT_EQ(queue.Take(out, 8), 1u);
    queue.ReleasePlayed(queue.TakenTotal());
    ASSERT_EQ(log.done.size(), 3u);
    EXPECT_TRUE(queue.Empty());
}

// On a reset the buffers being played go back before those still waiting.
TEST(WaveBufferQueue, ResetReturnsTakenBuffersBeforeQueuedOnes)
{
    CBufferLog log(4);
    CWaveBufferQueue queue(log);
    for (auto& buffer : log.buffers)
        queue.Add(buffer);
    std::uint8_t out[6];
    queue.Take(out, 6);
    queue.ReturnAll();
    EXPECT_EQ(log.done, (decltype(log.done){
                            {&log.buffers[0], 0}, {&log.buffers[1], 0}, {&log.buffers[2], 0}}));
}

} // namespace
