#include "audio/decoders/ogg_header_check.h"

#include <cstring>
#include <list>

#include <ogg/ogg.h>

#include "audio/decoders/ogg_pages.h"
#include "audio/decoders/vorbis_setup_check.h"

namespace {

constexpr int64_t kIdentificationHeaderBytes = 30;
// The three headers of a Vorbis stream: identification, comment, setup.
constexpr int kHeaderPackets = 3;
// Header readers that may wait for their headers at once, and the page bytes
// they may take between them: far beyond any real file, they bound the work.
constexpr size_t kMaxWaitingReaders = 64;
constexpr int64_t kMaxHeaderBytes = int64_t(16) << 20;

// The decoder reads a stream's headers from one of its first pages (a page
// that begins a stream) on: it starts afresh there and then takes every later
// page of that stream, whatever its flags, until it has three packets. One
// reader follows each such start, so that every header the decoder could
// parse is checked.
class HeaderReader {
public:
    explicit HeaderReader(int serial) : m_serial(serial) { ogg_stream_init(&m_state, serial); }
    ~HeaderReader() { ogg_stream_clear(&m_state); }
    HeaderReader(const HeaderReader&) = delete;
    HeaderReader& operator=(const HeaderReader&) = delete;

    int Serial() const { return m_serial; }
    bool Finished() const { return m_packetsSeen >= kHeaderPackets; }

    // Takes the page and checks the headers it completes; null when they pass.
    const char* Read(ogg_page& page)
    {
        if (ogg_stream_pagein(&m_state, &page) != 0) {
            return nullptr;
        }
        ogg_packet packet;
        int result = 0;
        while (!Finished() && (result = ogg_stream_packetout(&m_state, &packet)) != 0) {
            if (result > 0) {
                if (const char* problem = Check(packet)) {
                    return problem;
                }
            }
        }
        return nullptr;
    }

private:
    static bool IsVorbisHeader(const ogg_packet& packet, uint8_t type)
    {
        return packet.bytes >= 7 && packet.packet[0] == type && memcmp(packet.packet + 1, "vorbis", 6) == 0;
    }

    const char* Check(const ogg_packet& packet)
    {
        if (m_packetsSeen++ == 0) {
            if (IsVorbisHeader(packet, 1) && packet.bytes >= kIdentificationHeaderBytes) {
                m_channels = packet.packet[11];
            } else {
                m_packetsSeen = kHeaderPackets;  // not a Vorbis stream: the decoder reads no further
            }
        } else if (IsVorbisHeader(packet, 5)) {
            return HVI_CheckVorbisSetupHeader(packet.packet, packet.bytes, m_channels);
        }
        return nullptr;
    }

    ogg_stream_state m_state;
    int m_serial;
    int m_packetsSeen = 0;
    int m_channels = 0;
};

}  // namespace

const char* HVI_CheckOggVorbisHeaders(const uint8_t* file, int64_t size)
{
    const std::vector<HV_OggPage> pages = HVI_FindOggPages(file, size);
    std::list<HeaderReader> readers;
    int64_t previousEnd = 0;
    int64_t headerBytes = 0;
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
            if (readers.size() == kMaxWaitingReaders) {
                return "too many streams begin before their headers end";
            }
            readers.emplace_back(serial);
        }
        for (auto reader = readers.begin(); reader != readers.end();) {
            if (reader->Serial() == serial) {
                headerBytes += found.bodyBytes;
                if (headerBytes > kMaxHeaderBytes) {
                    return "its headers take more than 16 MB";
                }
                if (const char* problem = reader->Read(page)) {
                    return problem;
                }
            }
            reader = reader->Finished() ? readers.erase(reader) : std::next(reader);
        }
    }
    return nullptr;
}
