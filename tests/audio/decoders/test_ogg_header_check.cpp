#include "audio/decoders/ogg_header_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include "audio/audio_fixtures.h"
#include "audio/decoders/ogg_pages.h"
#include "audio/decoders/vorbis_setup_check.h"

using namespace audio_test;

namespace {

// Packs bits as Vorbis does: least significant first.
class BitWriter {
public:
    BitWriter& Put(uint32_t value, int bits)
    {
        for (int i = 0; i < bits; ++i, ++m_bit) {
            if (m_bit % 8 == 0) {
                m_bytes.push_back(0);
            }
            m_bytes.back() |= uint8_t(((value >> i) & 1u) << (m_bit % 8));
        }
        return *this;
    }
    BitWriter& Text(const char* text)
    {
        for (; *text; ++text) {
            Put(uint8_t(*text), 8);
        }
        return *this;
    }
    std::vector<uint8_t> Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    int64_t m_bit = 0;
};

// What a test changes in the smallest stereo setup header below.
struct SetupValues {
    uint32_t classBookDimensions = 1;
    uint32_t lastCodewordLength = 2;
    uint32_t classifications = 2;
    uint32_t residueClassBook = 0;
    uint32_t residueStageBook = 1;
    uint32_t couplingAngle = 1;
    uint32_t secondFloorPosition = 60;
    bool cutShort = false;
};

// Two codebooks (0: one dimension, two entries, no values; 1: a 2x2 lattice
// with values), one floor of type 1, one residue of type 2, one coupled
// mapping and one mode.
std::vector<uint8_t> MakeSetup(const SetupValues& values)
{
    BitWriter w;
    w.Put(5, 8).Text("vorbis");
    w.Put(1, 8);  // two codebooks
    w.Put(0x564342, 24)
        .Put(values.classBookDimensions, 16)
        .Put(2, 24)
        .Put(0, 1)
        .Put(0, 1)
        .Put(0, 5)
        .Put(0, 5)
        .Put(0, 4);
    w.Put(0x564342, 24).Put(2, 16).Put(4, 24).Put(0, 1).Put(0, 1);
    for (int i = 0; i < 3; ++i) {
        w.Put(1, 5);  // codeword length 2
    }
    w.Put(values.lastCodewordLength - 1, 5);
    w.Put(1, 4).Put(0, 32).Put(0x60000000, 32).Put(3, 4).Put(0, 1).Put(0x10, 8);  // lattice of 2 values, 4 bits each
    w.Put(0, 6).Put(0, 16);                                                       // one time-domain transform
    // Floor 1: one partition of class 0 (two values, no subclasses), range 7 bits.
    w.Put(0, 6).Put(1, 16).Put(1, 5).Put(0, 4).Put(1, 3).Put(0, 2).Put(0, 8).Put(1, 2).Put(7, 4);
    w.Put(20, 7).Put(values.secondFloorPosition, 7);
    // Residue 2 over 0..256 in partitions of 32.
    w.Put(0, 6).Put(2, 16).Put(0, 24).Put(256, 24).Put(31, 24).Put(values.classifications - 1, 6);
    w.Put(values.residueClassBook, 8);
    for (uint32_t i = 0; i < values.classifications; ++i) {
        w.Put(i == 1 ? 1 : 0, 3).Put(0, 1);  // only class 1 has a stage
    }
    w.Put(values.residueStageBook, 8);
    if (values.cutShort) {
        return w.Bytes();
    }
    // One mapping coupling channels 0 and 1, one submap.
    w.Put(0, 6).Put(0, 16).Put(0, 1).Put(1, 1).Put(0, 8).Put(0, 1).Put(values.couplingAngle, 1).Put(0, 2);
    w.Put(0, 8).Put(0, 8).Put(0, 8);
    w.Put(0, 6).Put(0, 1).Put(0, 16).Put(0, 16).Put(0, 8);  // one mode
    w.Put(1, 1);
    return w.Bytes();
}

const char* Check(const SetupValues& values)
{
    const auto setup = MakeSetup(values);
    return HVI_CheckVorbisSetupHeader(setup.data(), int64_t(setup.size()), 2);
}

ogg_packet Packet(std::vector<uint8_t>& bytes, long number)
{
    ogg_packet packet = {};
    packet.packet = bytes.data();
    packet.bytes = long(bytes.size());
    packet.b_o_s = number == 0;
    packet.packetno = number;
    return packet;
}

}  // namespace

TEST(VorbisSetupCheck, AcceptsAHeaderThatLibvorbisAccepts)
{
    EXPECT_EQ(Check({}), nullptr);
    // libvorbis judges the same header (after an identification and a comment header).
    auto identification = BitWriter()
                              .Put(1, 8)
                              .Text("vorbis")
                              .Put(0, 32)
                              .Put(2, 8)
                              .Put(44100, 32)
                              .Put(0, 32)
                              .Put(0, 32)
                              .Put(0, 32)
                              .Put(8, 4)
                              .Put(11, 4)
                              .Put(1, 1)
                              .Bytes();
    auto comment = BitWriter().Put(3, 8).Text("vorbis").Put(0, 32).Put(0, 32).Put(1, 1).Bytes();
    auto setup = MakeSetup({});
    vorbis_info info;
    vorbis_comment comments;
    vorbis_info_init(&info);
    vorbis_comment_init(&comments);
    ogg_packet packets[] = {Packet(identification, 0), Packet(comment, 1), Packet(setup, 2)};
    for (ogg_packet& packet : packets) {
        EXPECT_EQ(vorbis_synthesis_headerin(&info, &comments, &packet), 0) << packet.packetno;
    }
    vorbis_comment_clear(&comments);
    vorbis_info_clear(&info);
}

TEST(VorbisSetupCheck, RejectsValuesTheDecoderWouldTrust)
{
    EXPECT_STREQ(Check({.classBookDimensions = 0}), "a codebook has no dimensions");
    EXPECT_STREQ(Check({.lastCodewordLength = 3}), "a codebook's codeword lengths do not form a complete code");
    EXPECT_STREQ(Check({.lastCodewordLength = 1}), "a codebook's codeword lengths do not form a complete code");
    EXPECT_STREQ(Check({.classifications = 3}),
                 "a residue's classification book is smaller than its classifications need");
    EXPECT_STREQ(Check({.residueClassBook = 2}), "it names a codebook that does not exist");
    EXPECT_STREQ(Check({.residueStageBook = 0}), "a residue reads vectors from a codebook without values");
    EXPECT_STREQ(Check({.couplingAngle = 0}), "a mapping couples channels that do not exist");
    EXPECT_STREQ(Check({.secondFloorPosition = 20}), "a floor of type 1 repeats a position");
    EXPECT_STREQ(Check({.cutShort = true}), "it ends early");
    const auto setup = MakeSetup({});
    EXPECT_STREQ(HVI_CheckVorbisSetupHeader(setup.data(), int64_t(setup.size()), 0),
                 "its stream has no valid channel count");
}

// Encoded files pass, alone and chained; a damaged setup header is found in whichever link carries it.
TEST(OggHeaderCheck, AcceptsEncodedAndChainedFilesAndChecksEveryLink)
{
    TemporaryFolder folder;
    MakeOgg(folder.File("a.ogg"), 44100, 2, "0.3 sine 441");
    MakeOgg(folder.File("b.ogg"), 22050, 1, "0.3 sine 300");
    auto file = ReadBytes(folder.File("a.ogg"));
    EXPECT_EQ(HVI_CheckOggVorbisHeaders(file.data(), int64_t(file.size())), nullptr);
    const auto second = ReadBytes(folder.File("b.ogg"));
    file.insert(file.end(), second.begin(), second.end());
    EXPECT_EQ(HVI_CheckOggVorbisHeaders(file.data(), int64_t(file.size())), nullptr);
    const auto damaged = ReadBytes(HALVO_TEST_DATA_DIR "/audio/damaged-setup-header.ogg");
    file.insert(file.end(), damaged.begin(), damaged.end());
    EXPECT_STREQ(HVI_CheckOggVorbisHeaders(file.data(), int64_t(file.size())),
                 "a codebook's codeword lengths do not form a complete code");
}

TEST(OggHeaderCheck, ChecksASetupHeaderOnAPageThatBeginsItsStreamAgain)
{
    // The decoder keeps reading its stream across such a page; the check must too.
    auto file = ReadBytes(HALVO_TEST_DATA_DIR "/audio/damaged-setup-header.ogg");
    const auto pages = HVI_FindOggPages(file.data(), int64_t(file.size()));
    ASSERT_GE(pages.size(), 2u);
    file[pages[1].offset + 5] |= 0x02;
    const uint32_t checksum = HVI_ComputeOggPageChecksum(file.data(), pages[1]);
    for (int i = 0; i < 4; ++i) {
        file[pages[1].offset + HV_OGG_PAGE_CHECKSUM_OFFSET + i] = uint8_t(checksum >> (8 * i));
    }
    ASSERT_EQ(HVI_FindOggPages(file.data(), int64_t(file.size())).size(), pages.size());
    EXPECT_STREQ(HVI_CheckOggVorbisHeaders(file.data(), int64_t(file.size())),
                 "a codebook's codeword lengths do not form a complete code");
}

TEST(OggHeaderCheck, RejectsAPageInsideAnotherPage)
{
    // A complete page of one stream carried as the packet of another.
    ogg_stream_state inner;
    ogg_stream_state outer;
    ogg_stream_init(&inner, 7);
    ogg_stream_init(&outer, 8);
    std::vector<uint8_t> payload(100, 0x55);
    ogg_packet packet = Packet(payload, 0);
    ogg_page page;
    ogg_stream_packetin(&inner, &packet);
    ASSERT_NE(ogg_stream_flush(&inner, &page), 0);
    std::vector<uint8_t> carried(page.header, page.header + page.header_len);
    carried.insert(carried.end(), page.body, page.body + page.body_len);
    packet = Packet(carried, 0);
    ogg_stream_packetin(&outer, &packet);
    ASSERT_NE(ogg_stream_flush(&outer, &page), 0);
    std::vector<uint8_t> file(page.header, page.header + page.header_len);
    file.insert(file.end(), page.body, page.body + page.body_len);
    ogg_stream_clear(&inner);
    ogg_stream_clear(&outer);
    EXPECT_STREQ(HVI_CheckOggVorbisHeaders(file.data(), int64_t(file.size())), "a page lies inside another page");
}
