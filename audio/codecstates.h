#pragma once

#include <memory>
#include <ogg/ogg.h>
#include <speex/speex.h>
#include <speex/speex_bits.h>
#include <speex/speex_header.h>

// Owners of the libogg and libspeex states a codec holds while a file is open. Each is
// initialised by Init and cleared by Reset or its destructor, whichever comes first, so no
// state survives an exception between a codec's Open and Close.

class COggStream
{
public:
    COggStream() = default;
    ~COggStream() { Reset(); }
    COggStream(const COggStream&) = delete;
    COggStream& operator=(const COggStream&) = delete;

    // False when libogg refuses (it reports -1).
    bool Init(int serial)
    {
        Reset();
        m_live = ogg_stream_init(&m_state, serial) == 0;
        return m_live;
    }
    void Reset()
    {
        if (m_live)
            ogg_stream_clear(&m_state);
        m_live = false;
    }
    bool Live() const { return m_live; }
    ogg_stream_state* Get() { return &m_state; }

private:
    ogg_stream_state m_state{};
    bool m_live = false;
};

class COggSync
{
public:
    COggSync() = default;
    ~COggSync() { Reset(); }
    COggSync(const COggSync&) = delete;
    COggSync& operator=(const COggSync&) = delete;

    void Init()
    {
        Reset();
        ogg_sync_init(&m_state);
        m_live = true;
    }
    void Reset()
    {
        if (m_live)
            ogg_sync_clear(&m_state);
        m_live = false;
    }
    ogg_sync_state* Get() { return &m_state; }

private:
    ogg_sync_state m_state{};
    bool m_live = false;
};

class CSpeexBitsBuffer
{
public:
    CSpeexBitsBuffer() = default;
    ~CSpeexBitsBuffer() { Reset(); }
    CSpeexBitsBuffer(const CSpeexBitsBuffer&) = delete;
    CSpeexBitsBuffer& operator=(const CSpeexBitsBuffer&) = delete;

    void Init()
    {
        Reset();
        speex_bits_init(&m_bits);
        m_live = true;
    }
    void Reset()
    {
        if (m_live)
            speex_bits_destroy(&m_bits);
        m_live = false;
    }
    SpeexBits* Get() { return &m_bits; }

private:
    SpeexBits m_bits{};
    bool m_live = false;
};

struct SSpeexEncoderDestroyer
{
    void operator()(void* state) const { speex_encoder_destroy(state); }
};
struct SSpeexDecoderDestroyer
{
    void operator()(void* state) const { speex_decoder_destroy(state); }
};
using SpeexEncoderState = std::unique_ptr<void, SSpeexEncoderDestroyer>;
using SpeexDecoderState = std::unique_ptr<void, SSpeexDecoderDestroyer>;

// Releases what speex_header_to_packet and speex_packet_to_header hand out.
struct SSpeexHeaderFree
{
    void operator()(void* p) const { speex_header_free(p); }
};
