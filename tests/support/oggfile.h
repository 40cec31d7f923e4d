#pragma once

// Ogg pages read and written through libogg, for byte-level checks and hand-made (also
// malformed) files.

#include "support/wavfile.h"

#include <ogg/ogg.h>

namespace testsupport {

struct SPage
{
    std::size_t offset;
    std::uint8_t type;
    std::int64_t granule;
    std::uint32_t serial;
    std::int64_t sequence;
    std::size_t bodyOffset;
    std::size_t bodySize;
};

struct SPacket
{
    Bytes data;
    std::int64_t granule;
    std::int64_t number;
    bool eos;
};

// The complete pages of a file and the packets of its first stream, through libogg
// (checksums checked).
struct SOgg
{
    std::vector<SPage> pages;
    std::vector<SPacket> packets;
};

inline SOgg ReadOgg(const Bytes& file)
{
    SOgg out;
    ogg_sync_state sync;
    ogg_stream_state stream;
    ogg_sync_init(&sync);
    std::copy(file.begin(), file.end(), ogg_sync_buffer(&sync, static_cast<long>(file.size())));
    ogg_sync_wrote(&sync, static_cast<long>(file.size()));
    ogg_page page;
    ogg_packet packet;
    for (std::size_t offset = 0; ogg_sync_pageout(&sync, &page) == 1;) {
        const auto header = static_cast<std::size_t>(page.header_len);
        const auto body = static_cast<std::size_t>(page.body_len);
        out.pages.push_back({offset, page.header[5], ogg_page_granulepos(&page),
                             static_cast<std::uint32_t>(ogg_page_serialno(&page)),
                             ogg_page_pageno(&page), offset + header, body});
        offset += header + body;
        if (out.pages.size() == 1)
            ogg_stream_init(&stream, ogg_page_serialno(&page));
        ogg_stream_pagein(&stream, &page);
        while (ogg_stream_packetout(&stream, &packet) == 1)
            out.packets.push_back({Bytes(packet.packet, packet.packet + packet.bytes),
                                   packet.granulepos, packet.packetno, packet.e_o_s != 0});
    }
    if (!out.pages.empty())
        ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return out;
}

// The length of a Speex stream as a decoder reading every page in order sees it: after the
// pages that hold the two header packets, the granule position of the first end-of-stream page
// of the first page's stream, else of its last complete page; 0 without audio pages.
inline std::int64_t GranuleReadingForward(const Bytes& file)
{
    ogg_sync_state sync;
    ogg_stream_state stream;
    ogg_sync_init(&sync);
    ogg_stream_init(&stream, 0);
    std::copy(file.begin(), file.end(), ogg_sync_buffer(&sync, static_cast<long>(file.size())));
    ogg_sync_wrote(&sync, static_cast<long>(file.size()));
    ogg_page page;
    ogg_packet packet;
    const auto nextPage = [&] {
        int result;
        while ((result = ogg_sync_pageout(&sync, &page)) < 0) {
        }
        return result == 1;
    };
    const auto nextPacket = [&] {
        for (int result; (result = ogg_stream_packetout(&stream, &packet)) != 1;) {
            if (result < 0)
                continue;
            do {
                if (!nextPage())
                    return false;
            } while (ogg_stream_pagein(&stream, &page) != 0);
        }
        return true;
    };
    std::int64_t granule = 0;
    if (nextPage()) {
        ogg_stream_reset_serialno(&stream, ogg_page_serialno(&page));
        ogg_stream_pagein(&stream, &page);
        while (ogg_stream_packetout(&stream, &packet) == 1) {
        }
        nextPacket();
        while (nextPage()) {
            if (ogg_page_serialno(&page) != stream.serialno || ogg_page_granulepos(&page) < 0)
                continue;
            granule = ogg_page_granulepos(&page);
            if (ogg_page_eos(&page))
                break;
        }
    }
    ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return granule;
}

struct SPacketPlan
{
    Bytes data;
    std::int64_t granule = 0;
};

// An Ogg stream with one page per packet, for hand-made (also malformed) files.
inline Bytes MakeOgg(std::vector<SPacketPlan> packets, int serial = static_cast<int>(0xAABBCCDDu))
{
    Bytes out;
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);
    for (auto& plan : packets) {
        ogg_packet packet{plan.data.data(), static_cast<long>(plan.data.size()),
                          out.empty(),      0,
                          plan.granule,     &plan - packets.data()};
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            out = Cat({out, Bytes(page.header, page.header + page.header_len),
                       Bytes(page.body, page.body + page.body_len)});
    }
    ogg_stream_clear(&stream);
    return out;
}

} // namespace testsupport
