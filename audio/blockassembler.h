#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Cuts the captured samples, however the device happens to deliver them, into the
// encoder's blocks: each full block of `blockSize` bytes as soon as it is complete (so a
// killed process loses at most the block under way), then one final block, possibly
// partial or empty, flagged last.
// With a sample limit the stream ends by itself at exactly that many samples and
// later samples are dropped.
class CBlockAssembler
{
public:
    using Sink = std::function<void(const std::uint8_t* data, std::size_t size, bool last)>;

    // Allocates the block once.
    CBlockAssembler(std::size_t blockSize, Sink sink);

    // Starts a new stream; `limit` 0 means no limit.
    void Begin(std::uint64_t limit);
    // Takes samples. Returns true when this call reached the limit (the last block has
    // then been written).
    bool Add(const std::uint8_t* data, std::size_t size);
    // Writes what is left (possibly nothing) flagged last; nothing when the stream has
    // ended already.
    void Finish();
    // Writes the part block gathered so far, not flagged last (a pause begins: what came
    // before it goes to the file now); nothing when there is none or the stream has ended.
    void Flush();

    bool Finished() const { return m_finished; }
    std::uint64_t Accepted() const { return m_accepted; }

private:
    std::vector<std::uint8_t> m_block;
    std::size_t m_fill = 0;
    Sink m_sink;
    std::uint64_t m_limit = 0;
    std::uint64_t m_accepted = 0;
    bool m_finished = false;
};
