#include "exchange/soundfile.h"

#include <sndfile.h>

CSoundFile::~CSoundFile()
{
    // A file dropped without Close is abandoned work: its caller removes it.
    Close();
}

bool CSoundFile::OpenRead(const std::string& path)
{
    Close();
    SF_INFO info{};
    m_file = sf_open(path.c_str(), SFM_READ, &info);
    if (!m_file) {
        m_error = sf_strerror(nullptr);
        return false;
    }
    m_channels = info.channels;
    m_rate = info.samplerate;
    m_frames = info.frames > 0 ? static_cast<std::uint64_t>(info.frames) : 0;
    if (m_channels < 1 || m_rate < 1) {
        Close();
        m_error = "no audio in the file";
        return false;
    }
    return true;
}

bool CSoundFile::OpenWrite(int fd, int format, int rate)
{
    Close();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    if (!sf_format_check(&info)) {
        m_error = "the format does not take " + std::to_string(rate) + " Hz";
        return false;
    }
    m_file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (!m_file) {
        m_error = sf_strerror(nullptr);
        return false;
    }
    m_channels = 1;
    m_rate = rate;
    return true;
}

bool CSoundFile::SetTag(int kind, const std::string& value)
{
    if (!m_file)
        return false;
    if (sf_set_string(m_file, kind, value.c_str()) != 0) {
        m_error = sf_strerror(m_file);
        return false;
    }
    return true;
}

bool CSoundFile::Write(std::span<const short> samples)
{
    const auto count = static_cast<sf_count_t>(samples.size());
    if (m_file && sf_write_short(m_file, samples.data(), count) == count)
        return true;
    m_error = m_file ? sf_strerror(m_file) : "not open";
    return false;
}

std::size_t CSoundFile::ReadFrames(float* interleaved, std::size_t frames)
{
    if (!m_file)
        return 0;
    const sf_count_t got = sf_readf_float(m_file, interleaved, static_cast<sf_count_t>(frames));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool CSoundFile::Close()
{
    if (!m_file)
        return true;
    const int error = sf_close(m_file);
    m_file = nullptr;
    if (error != 0)
        m_error = sf_error_number(error);
    return error == 0;
}

std::string CSoundFile::ErrorText() const
{
    return m_error;
}
