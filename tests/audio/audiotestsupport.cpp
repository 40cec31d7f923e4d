#include "audiotestsupport.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace testsupport {

std::vector<std::uint8_t> Pattern(std::size_t count)
{
    std::vector<std::uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = PatternSample(i);
    return samples;
}

CTempDir::CTempDir()
{
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("parlantographer-audio-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWav(const std::string& path, const std::vector<std::uint8_t>& samples)
{
    auto le32 = [](std::vector<std::uint8_t>& v, std::uint32_t x) {
        for (int i = 0; i < 4; ++i)
            v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    };
    auto le16 = [](std::vector<std::uint8_t>& v, std::uint16_t x) {
        v.push_back(static_cast<std::uint8_t>(x));
        v.push_back(static_cast<std::uint8_t>(x >> 8));
    };
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    le32(file, static_cast<std::uint32_t>(36 + samples.size()));
    for (char c : std::string("WAVEfmt "))
        file.push_back(static_cast<std::uint8_t>(c));
    le32(file, 16);
    le16(file, 1);
    le16(file, 1);
    le32(file, 8000);
    le32(file, 8000);
    le16(file, 1);
    le16(file, 8);
    for (char c : std::string("data"))
        file.push_back(static_cast<std::uint8_t>(c));
    le32(file, static_cast<std::uint32_t>(samples.size()));
    file.insert(file.end(), samples.begin(), samples.end());
    WriteFile(path, file);
}

void CCollectingEncoder::Open(const std::string& path, bool)
{
    WriteFile(path, {});
    infoAtOpen = m_info;
    ++opens;
    m_open = true;
    samples.clear();
    writes.clear();
}

void CCollectingEncoder::Close()
{
    m_info.clear();
    if (m_open)
        ++closes;
    m_open = false;
}

int CCollectingEncoder::Write(const std::uint8_t* data, std::size_t size, bool last)
{
    if (!m_open)
        writeAfterClose = true;
    if (writeDelay.count() > 0)
        std::this_thread::sleep_for(writeDelay);
    samples.insert(samples.end(), data, data + size);
    writes.push_back({size, last});
    return 1;
}

void CPatternDecoder::Open(const std::string&, CAudioManager&)
{
    m_position = 0;
    readSizes.clear();
    ++opens;
    m_open = true;
}

void CPatternDecoder::Close()
{
    if (m_open)
        ++closes;
    m_open = false;
}

bool CPatternDecoder::Read(std::uint8_t* buffer, std::size_t& size)
{
    if (!m_open)
        readWhileClosed = true;
    if (readDelay.count() > 0)
        std::this_thread::sleep_for(readDelay);
    std::size_t n = size;
    if (m_total > 0)
        n = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_total - m_position));
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = PatternSample(m_position + i);
    m_position += n;
    size = n;
    readSizes.push_back(n);
    return m_total > 0 && m_position == m_total;
}

unsigned CFaultyBackend::DeviceCount(EWaveDirection direction)
{
    return noDevices ? 0 : CSimWaveBackend::DeviceCount(direction);
}

int CFaultyBackend::QueryFormat(EWaveDirection direction, unsigned index, const SWaveFormat& format)
{
    return rejectFormat ? kInjected : CSimWaveBackend::QueryFormat(direction, index, format);
}

int CFaultyBackend::Open(EWaveDirection direction, unsigned index, const SWaveFormat& format,
                         MWaveNoticeSink& sink, std::unique_ptr<MWaveDevice>& device)
{
    if (failOpen)
        return kInjected;
    return CSimWaveBackend::Open(direction, index, format, sink, device);
}

bool CFaultyBackend::ErrorText(int code, std::string& text)
{
    if (noErrorText)
        return false;
    if (code == kInjected) {
        text = "Injected device failure";
        return true;
    }
    return CSimWaveBackend::ErrorText(code, text);
}

} // namespace testsupport
