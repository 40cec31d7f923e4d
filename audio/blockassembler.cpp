#include "audio/blockassembler.h"

#include <algorithm>
#include <cstring>

CBlockAssembler::CBlockAssembler(std::size_t blockSize, Sink sink)
    : m_block(blockSize), m_sink(std::move(sink))
{}

void CBlockAssembler::Begin(std::uint64_t limit)
{
    m_fill = 0;
    m_limit = limit;
    m_accepted = 0;
    m_finished = false;
}

bool CBlockAssembler::Add(const std::uint8_t* data, std::size_t size)
{
    if (m_finished)
        return false;
    std::size_t take = size;
    if (m_limit > 0)
        take = static_cast<std::size_t>(std::min<std::uint64_t>(take, m_limit - m_accepted));
    for (std::size_t done = 0; done < take;) {
        const std::size_t n = std::min(m_block.size() - m_fill, take - done);
        std::memcpy(m_block.data() + m_fill, data + done, n);
        m_fill += n;
        done += n;
        if (m_fill == m_block.size()) {
            m_sink(m_block.data(), m_fill, false);
            m_fill = 0;
        }
    }
    m_accepted += take;
    if (m_limit > 0 && m_accepted == m_limit) {
        Finish();
        return true;
    }
    return false;
}

void CBlockAssembler::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_sink(m_block.data(), m_fill, true);
}

void CBlockAssembler::Flush()
{
    if (m_finished || m_fill == 0)
        return;
    m_sink(m_block.data(), m_fill, false);
    m_fill = 0;
}
