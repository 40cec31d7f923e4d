#include "audio/blockassembler.h"

#include <gtest/gtest.h>

namespace {

using Writes = std::vector<std::pair<std::size_t, bool>>; // (size, last)

TEST(BlockAssembler, CutsTheStreamIntoFullBlocksThenOneLast)
{
    struct SCase
    {
        std::uint64_t limit;
        std::vector<std::size_t> chunks; // sizes offered by the device, in order
        Writes writes;
        std::uint64_t accepted;
    };
    const SCase cases[] = {
        {0, {}, {{0, true}}, 0},
        {0, {3}, {{3, true}}, 3},
        // A full block goes out at once; the end then comes as an empty last write.
        {0, {8}, {{8, false}, {0, true}}, 8},
        {0, {5, 5, 7, 0}, {{8, false}, {8, false}, {1, true}}, 17},
        {0, {16, 0}, {{8, false}, {8, false}, {0, true}}, 16},
        {10, {7, 7, 7}, {{8, false}, {2, true}}, 10},
        {16, {20}, {{8, false}, {8, false}, {0, true}}, 16},
        {1, {4, 4}, {{1, true}}, 1},
        {100, {9}, {{8, false}, {1, true}}, 9},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.chunks) + " limit " + std::to_string(c.limit));
        Writes writes;
        std::vector<std::uint8_t> received;
        CBlockAssembler assembler(8, [&](const std::uint8_t* data, std::size_t size, bool last) {
            writes.emplace_back(size, last);
            received.insert(received.end(), data, data + size);
        });
        assembler.Begin(c.limit);
        std::uint8_t next = 0;
        for (std::size_t size : c.chunks) {
            std::vector<std::uint8_t> chunk(size);
            for (auto& sample : chunk)
                sample = next++;
            assembler.Add(chunk.data(), chunk.size());
        }
        assembler.Finish();
        assembler.Finish(); // a second Finish writes nothing more
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(assembler.Accepted(), c.accepted);
        std::vector<std::uint8_t> expected(c.accepted);
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = static_cast<std::uint8_t>(i);
        EXPECT_EQ(received, expected);
    }
}

} // namespace
