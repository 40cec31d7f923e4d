#include "platform/spscring.h"

#include <algorithm>
#include <bit>
#include <cstring>

CSpscRing::CSpscRing(std::size_t capacity)
    : m_mask(std::bit_ceil(std::max<std::size_t>(capacity, 2)) - 1),
      m_data(std::make_unique<std::uint8_t[]>(m_mask + 1))
{}

std::size_t CSpscRing::Available() const
{
    return static_cast<std::size_t>(m_writePosition.load(std::memory_order_acquire) -
                                    m_readPosition.load(std::memory_order_acquire));
}

std::size_t CSpscRing::Space() const
{
    return Capacity() - Available();
}

std::size_t CSpscRing::Write(const std::uint8_t* samples, std::size_t count)
{
    const std::uint64_t write = m_writePosition.load(std::memory_order_relaxed);
    const std::uint64_t read = m_readPosition.load(std::memory_order_acquire);
    const std::size_t space = Capacity() - static_cast<std::size_t>(write - read);
    const std::size_t n = std::min(count, space);
    if (n == 0)
        return 0;
    const std::size_t start = static_cast<std::size_t>(write) & m_mask;
    const std::size_t first = std::min(n, Capacity() - start);
    std::memcpy(m_data.get() + start, samples, first);
    std::memcpy(m_data.get(), samples + first, n - first);
    m_writePosition.store(write + n, std::memory_order_release);
    return n;
}

std::size_t CSpscRing::Read(std::uint8_t* samples, std::size_t count)
{
    const std::uint64_t read = m_readPosition.load(std::memory_order_relaxed);
    const std::uint64_t write = m_writePosition.load(std::memory_order_acquire);
    const std::size_t n = std::min(count, static_cast<std::size_t>(write - read));
    if (n == 0)
        return 0;
    const std::size_t start = static_cast<std::size_t>(read) & m_mask;
    const std::size_t first = std::min(n, Capacity() - start);
    std::memcpy(samples, m_data.get() + start, first);
    std::memcpy(samples + first, m_data.get(), n - first);
    m_readPosition.store(read + n, std::memory_order_release);
    return n;
}

std::size_t CSpscRing::Discard()
{
    const std::uint64_t read = m_readPosition.load(std::memory_order_relaxed);
    const std::uint64_t write = m_writePosition.load(std::memory_order_acquire);
    m_readPosition.store(write, std::memory_order_release);
    return static_cast<std::size_t>(write - read);
}
