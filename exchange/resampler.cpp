#include "exchange/resampler.h"

#include <algorithm>
#include <cmath>
#include <samplerate.h>
#include <stdexcept>
#include <string>

CResampler::CResampler(int fromRate, int toRate)
{
    if (fromRate < 1 || toRate < 1)
        throw std::invalid_argument("a sample rate must be positive");
    m_ratio = static_cast<double>(toRate) / fromRate;
    if (fromRate == toRate)
        return;
    if (!src_is_valid_ratio(m_ratio))
        throw std::invalid_argument("a rate of " + std::to_string(fromRate) +
                                    " Hz cannot be converted to " + std::to_string(toRate) + " Hz");
    int error = 0;
    // The fastest sinc converter still keeps about 97 dB of signal to noise, far beyond
    // what 8-bit samples hold.
    m_state = src_new(SRC_SINC_FASTEST, 1, &error);
    if (!m_state)
        throw std::runtime_error(std::string("Cannot set up the resampler: ") +
                                 src_strerror(error));
}

CResampler::~CResampler()
{
    if (m_state)
        src_delete(m_state);
}

void CResampler::Process(std::span<const float> in, bool last, std::vector<float>& out)
{
    const std::size_t before = out.size();
    m_in += in.size();
    if (!m_state) {
        out.insert(out.end(), in.begin(), in.end());
        m_out += in.size();
        return;
    }
    SRC_DATA data{};
    data.src_ratio = m_ratio;
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    for (;;) {
        const std::size_t room =
            static_cast<std::size_t>(static_cast<double>(data.input_frames) * m_ratio) + 256;
        const std::size_t at = out.size();
        out.resize(at + room);
        data.data_out = out.data() + at;
        data.output_frames = static_cast<long>(room);
        data.end_of_input = last ? 1 : 0;
        const int error = src_process(m_state, &data);
        if (error != 0)
            throw std::runtime_error(std::string("Resampling failed: ") + src_strerror(error));
        out.resize(at + static_cast<std::size_t>(data.output_frames_gen));
        data.data_in += data.input_frames_used;
        data.input_frames -= data.input_frames_used;
        // Done when the input is taken and, at the end, the delay line gives nothing more.
        if (data.input_frames == 0 && (!last || data.output_frames_gen == 0))
            break;
    }
    m_out += out.size() - before;
    if (!last)
        return;
    // The converter's own count may differ from the exact length by a sample or two.
    const auto exact =
        static_cast<std::uint64_t>(std::llround(static_cast<double>(m_in) * m_ratio));
    if (m_out > exact) {
        const std::uint64_t extra = std::min<std::uint64_t>(m_out - exact, out.size() - before);
        out.resize(out.size() - extra);
        m_out -= extra;
    }
    if (m_out < exact) {
        out.resize(out.size() + (exact - m_out), 0.0f);
        m_out = exact;
    }
}
