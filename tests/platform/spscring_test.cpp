#include "platform/spscring.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

TEST(SpscRing, KeepsOrderAcrossTheWrapAndRefusesWhatDoesNotFit)
{
    CSpscRing ring(6);
    EXPECT_EQ(ring.Capacity(), 8u);
    std::uint8_t in[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint8_t out[8] = {};
    EXPECT_EQ(ring.Write(in, 6), 6u);
    EXPECT_EQ(ring.Read(out, 4), 4u); // read position 4, write position 6
    EXPECT_EQ(ring.Write(in, 8), 6u) << "only the room left";
    EXPECT_EQ(ring.Space(), 0u);
    EXPECT_EQ(ring.Write(in, 1), 0u);
    EXPECT_EQ(ring.Read(out, 8), 8u); // 5 6 | 1 2 3 4 5 6, across the end of the memory
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 8),
              (std::vector<std::uint8_t>{5, 6, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ring.Read(out, 8), 0u);
    EXPECT_EQ(ring.TotalRead(), 12u);
    ring.Write(in, 3);
    EXPECT_EQ(ring.Discard(), 3u);
    EXPECT_EQ(ring.Available(), 0u);
    EXPECT_EQ(ring.TotalRead(), 15u);
}

// Odd-sized steps on two threads over a small ring: every sample arrives once and in order.
TEST(SpscRing, TwoThreadsPassEverySampleOnceInOrder)
{
    constexpr std::size_t kTotal = 2'000'000;
    CSpscRing ring(64);
    std::thread producer([&] {
        std::uint8_t chunk[37];
        std::size_t sent = 0;
        while (sent < kTotal) {
            const std::size_t n = std::min<std::size_t>(sizeof chunk, kTotal - sent);
            for (std::size_t i = 0; i < n; ++i)
                chunk[i] = static_cast<std::uint8_t>((sent + i) % 251);
            std::size_t done = 0;
            while (done < n) {
                done += ring.Write(chunk + done, n - done);
                if (done < n)
                    std::this_thread::yield();
            }
            sent += n;
        }
    });
    std::size_t received = 0;
    std::size_t errors = 0;
    std::uint8_t chunk[23];
    while (received < kTotal) {
        const std::size_t n = ring.Read(chunk, sizeof chunk);
        for (std::size_t i = 0; i < n; ++i)
            errors += chunk[i] != static_cast<std::uint8_t>((received + i) % 251);
        received += n;
        if (n == 0)
            std::this_thread::yield();
    }
    producer.join();
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(ring.TotalRead(), kTotal);
}

} // namespace
