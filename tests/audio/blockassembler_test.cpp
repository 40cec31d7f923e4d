#include "audio/blockassembler.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

struct SCase
{
    const char* name;
    std::size_t blockSize;
    std::uint64_t limit;
    std::vector<std::size_t> chunks;                  // sizes offered by the device, in order
    std::vector<std::pair<std::size_t, bool>> writes; // (size, last) expected
    std::uint64_t accepted;
};

class BlockAssemblerTest : public ::testing::TestWithParam<SCase>
{
};

TEST_P(BlockAssemblerTest, CutsTheStreamIntoFullBlocksThenOneLast)
{
    const SCase& c = GetParam();
    std::vector<std::pair<std::size_t, bool>> writes;
    std::vector<std::uint8_t> received;
    CBlockAssembler assembler(c.blockSize,
                              [&](const std::uint8_t* data, std::size_t size, bool last) {
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
    ASSERT_EQ(received.size(), c.accepted);
    for (std::size_t i = 0; i < received.size(); ++i)
        ASSERT_EQ(received[i], static_cast<std::uint8_t>(i)) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, BlockAssemblerTest,
    ::testing::Values(SCase{"Nothing", 8, 0, {}, {{0, true}}, 0},
                      SCase{"LessThanABlock", 8, 0, {3}, {{3, true}}, 3},
                      SCase{"ExactlyOneBlockIsFlaggedLast", 8, 0, {8}, {{8, true}}, 8},
                      SCase{"BlocksAcrossUnevenChunks",
                            8,
                            0,
                            {5, 5, 7, 0},
                            {{8, false}, {8, false}, {1, true}},
                            17},
                      SCase{"EmptyChunkAtTheEnd", 8, 0, {16, 0}, {{8, false}, {8, true}}, 16},
                      SCase{"LimitInsideAChunk", 8, 10, {7, 7, 7}, {{8, false}, {2, true}}, 10},
                      SCase{"LimitOnABlockBoundary", 8, 16, {20}, {{8, false}, {8, true}}, 16},
                      SCase{"LimitOfOneSample", 8, 1, {4, 4}, {{1, true}}, 1},
                      SCase{"LimitNeverReached", 8, 100, {9}, {{8, false}, {1, true}}, 9}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(BlockAssembler, BeginStartsAFreshStream)
{
    std::vector<std::pair<std::size_t, bool>> writes;
    CBlockAssembler assembler(4, [&](const std::uint8_t*, std::size_t size, bool last) {
        writes.emplace_back(size, last);
    });
    const std::uint8_t samples[6] = {};
    assembler.Begin(3);
    EXPECT_TRUE(assembler.Add(samples, 6));
    EXPECT_FALSE(assembler.Add(samples, 6)) << "after the limit everything is dropped";
    assembler.Begin(0);
    EXPECT_FALSE(assembler.Finished());
    assembler.Add(samples, 6);
    assembler.Finish();
    EXPECT_EQ(writes,
              (std::vector<std::pair<std::size_t, bool>>{{3, true}, {4, false}, {2, true}}));
}

} // namespace
