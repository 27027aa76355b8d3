#include "audio/mixer/ogg_header_check.h"

#include <cstring>
#include <map>

#include <ogg/ogg.h>

#include "audio/mixer/ogg_pages.h"
#include "audio/mixer/vorbis_setup_check.h"

namespace {

constexpr int64_t kIdentificationHeaderBytes = 30;

// One logical stream as the decoder reads it from its first page on.
struct LogicalStream {
    ogg_stream_state state;
    int packetsSeen = 0;
    int channels = 0;  // from its identification header; 0 while none was seen

    explicit LogicalStream(int serial) { ogg_stream_init(&state, serial); }
    ~LogicalStream() { ogg_stream_clear(&state); }
    LogicalStream(const LogicalStream&) = delete;
    LogicalStream& operator=(const LogicalStream&) = delete;
};

bool IsVorbisHeader(const ogg_packet& packet, uint8_t type) {
    return packet.bytes >= 7 && packet.packet[0] == type && memcmp(packet.packet + 1, "vorbis", 6) == 0;
}

const char* CheckPacket(LogicalStream& stream, const ogg_packet& packet) {
    const bool first = stream.packetsSeen++ == 0;
    if (first && IsVorbisHeader(packet, 1) && packet.bytes >= kIdentificationHeaderBytes) {
        stream.channels = packet.packet[11];
    } else if (stream.channels != 0 && IsVorbisHeader(packet, 5)) {
        return HVI_CheckVorbisSetupHeader(packet.packet, packet.bytes, stream.channels);
    }
    return nullptr;
}

}  // namespace

const char* HVI_CheckOggVorbisHeaders(const uint8_t* file, int64_t size) {
    const std::vector<HV_OggPage> pages = HVI_FindOggPages(file, size);
    std::map<int, LogicalStream> streams;
    int64_t previousEnd = 0;
    for (const HV_OggPage& found : pages) {
        if (found.offset < previousEnd) {
            return "a page lies inside another page";
        }
        previousEnd = found.offset + found.headerBytes + found.bodyBytes;
        ogg_page page;
        page.header = const_cast<unsigned char*>(file + found.offset);
        page.header_len = long(found.headerBytes);
        page.body = page.header + found.headerBytes;
        page.body_len = long(found.bodyBytes);
        const int serial = ogg_page_serialno(&page);
        if (ogg_page_bos(&page)) {
            // A stream that begins again is read afresh, as the decoder does at every new link.
            streams.erase(serial);
        }
        LogicalStream& stream = streams.try_emplace(serial, serial).first->second;
        if (ogg_stream_pagein(&stream.state, &page) != 0) {
            continue;
        }
        ogg_packet packet;
        int result = 0;
        while ((result = ogg_stream_packetout(&stream.state, &packet)) != 0) {
            if (result > 0) {
                if (const char* problem = CheckPacket(stream, packet)) {
                    return problem;
                }
            }
        }
    }
    return nullptr;
}
