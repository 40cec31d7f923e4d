#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// A single-producer/single-consumer ring of samples between a real-time audio callback
// and an ordinary thread. Write is called by the producer only, Read/Discard by the
// consumer only; neither locks, allocates nor waits, so either side may be the
// callback. The memory is allocated once, at construction.
//
// The two positions count samples since construction and only grow; their difference
// is the fill level. The producer publishes samples with a release store of its
// position after copying them, the consumer frees room the same way, so each side
// sees the other's data complete.
class CSpscRing
{
public:
    // `capacity` is rounded up to a power of two (at least 2).
    explicit CSpscRing(std::size_t capacity);
    CSpscRing(const CSpscRing&) = delete;
    CSpscRing& operator=(const CSpscRing&) = delete;

    std::size_t Capacity() const { return m_mask + 1; }
    // Samples ready for the consumer.
    std::size_t Available() const;
    // Room left for the producer.
    std::size_t Space() const;

    // Producer: copies as many of `count` samples as fit; returns how many.
    std::size_t Write(const std::uint8_t* samples, std::size_t count);
    // Consumer: copies up to `count` samples out; returns how many.
    std::size_t Read(std::uint8_t* samples, std::size_t count);
    // Consumer: drops everything available; returns how many.
    std::size_t Discard();
    // Samples consumed since construction (Read and Discard).
    std::uint64_t TotalRead() const { return m_readPosition.load(std::memory_order_acquire); }

private:
    std::size_t m_mask;
    std::unique_ptr<std::uint8_t[]> m_data;
    // Apart, so that the two sides do not share a cache line.
    alignas(64) std::atomic<std::uint64_t> m_writePosition{0};
    alignas(64) std::atomic<std::uint64_t> m_readPosition{0};
};
