#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Converts a stream of mono float samples from one rate to another with libsamplerate, in
// pieces of any size. The output keeps the input's length: after the last piece exactly
// round(input samples * to / from) samples have come out in all.
class CResampler
{
public:
    // Throws std::invalid_argument for a rate below 1 or rates further apart than
    // libsamplerate converts (a factor of 256), std::runtime_error when it cannot set up the
    // converter.
    CResampler(int fromRate, int toRate);
    ~CResampler();
    CResampler(const CResampler&) = delete;
    CResampler& operator=(const CResampler&) = delete;

    // Appends to `out` what `in` gives at the new rate; `last` ends the stream (the
    // converter's delay line is drained, and the length made exact). Throws
    // std::runtime_error when libsamplerate fails.
    void Process(std::span<const float> in, bool last, std::vector<float>& out);

private:
    struct SRC_STATE_tag* m_state = nullptr;
    double m_ratio = 1;
    std::uint64_t m_in = 0;
    std::uint64_t m_out = 0;
};
