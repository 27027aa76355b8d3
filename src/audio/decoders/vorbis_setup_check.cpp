#include "audio/decoders/vorbis_setup_check.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Reads the packet's bits as Vorbis packs them: least significant first.
class BitReader {
public:
    BitReader(const uint8_t* bytes, int64_t count) : m_bytes(bytes), m_bitsLeft(count * 8) {}

    // Up to 32 bits; false once the packet has run out.
    bool Read(int bits, uint32_t* value)
    {
        if (bits > m_bitsLeft) {
            m_bitsLeft = 0;
            return false;
        }
        uint32_t result = 0;
        for (int i = 0; i < bits; ++i) {
            const uint32_t bit = (m_bytes[m_position >> 3] >> (m_position & 7)) & 1u;
            result |= bit << i;
            ++m_position;
        }
        m_bitsLeft -= bits;
        *value = result;
        return true;
    }

    bool Skip(uint64_t bits)
    {
        if (bits > uint64_t(m_bitsLeft)) {
            m_bitsLeft = 0;
            return false;
        }
        m_position += int64_t(bits);
        m_bitsLeft -= int64_t(bits);
        return true;
    }

private:
    const uint8_t* m_bytes;
    int64_t m_position = 0;
    int64_t m_bitsLeft;
};

// The number of bits needed to write the value (0 for 0).
int BitCount(uint32_t value)
{
    int bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

// Whether r^dimensions <= entries, without overflowing.
bool LatticeFits(uint64_t r, uint32_t entries, uint32_t dimensions)
{
    uint64_t power = 1;
    for (uint32_t d = 0; d < dimensions; ++d) {
        power *= r;
        if (power > entries) {
            return false;
        }
    }
    return true;
}

// The largest r with r^dimensions <= entries (dimensions >= 1).
uint32_t LatticeValuesPerDimension(uint32_t entries, uint32_t dimensions)
{
    uint64_t r = uint64_t(std::pow(double(entries), 1.0 / dimensions));
    while (r > 0 && !LatticeFits(r, entries, dimensions)) {
        --r;
    }
    while (LatticeFits(r + 1, entries, dimensions)) {
        ++r;
    }
    return uint32_t(r);
}

// The share of all codewords that a book's lengths claim, in units of 2^-32:
// a codeword of length n claims 2^(32-n).
constexpr uint64_t kWholeCodeSpace = uint64_t(1) << 32;

struct CodeSpace {
    uint64_t claimed = 0;
    uint32_t used = 0;  // entries with a codeword

    void Claim(uint32_t length, uint32_t count)
    {
        claimed += uint64_t(count) << (32 - length);
        used += count;
    }
};

struct Codebook {
    uint32_t dimensions;
    uint32_t entries;
    bool hasValues;  // lookup type 1 or 2
};

class SetupParser {
public:
    SetupParser(const uint8_t* packet, int64_t bytes, int channels) : m_bits(packet, bytes), m_channels(channels) {}

    const char* Parse()
    {
        uint32_t books = 0;
        uint32_t transforms = 0;
        uint32_t modes = 0;
        const char* problem = nullptr;
        if ((problem = ParseList(8, &books, [this] { return ParseCodebook(); })) ||
            (problem = ParseList(6, &transforms, [this] { return ParseTimeDomainTransform(); })) ||
            (problem = ParseList(6, &m_floorCount, [this] { return ParseFloor(); })) ||
            (problem = ParseList(6, &m_residueCount, [this] { return ParseResidue(); })) ||
            (problem = ParseList(6, &m_mappingCount, [this] { return ParseMapping(); })) ||
            (problem = ParseList(6, &modes, [this] { return ParseMode(); }))) {
            return problem;
        }
        uint32_t framing = 0;
        return Read(1, &framing) && framing == 1 ? nullptr : "its framing bit is missing";
    }

private:
    static constexpr const char* kCutShort = "it ends early";

    bool Read(int bits, uint32_t* value) { return m_bits.Read(bits, value); }

    // A list: its length less one in `bits` bits, then its items.
    template <class ParseItem>
    const char* ParseList(int bits, uint32_t* count, ParseItem parseItem)
    {
        uint32_t last = 0;
        if (!Read(bits, &last)) {
            return kCutShort;
        }
        for (uint32_t i = 0; i <= last; ++i) {
            if (const char* problem = parseItem()) {
                return problem;
            }
        }
        *count = last + 1;
        return nullptr;
    }

    // Reads an index of a codebook; null when it names one.
    const char* ReadBookIndex(uint32_t* index)
    {
        if (!Read(8, index)) {
            return kCutShort;
        }
        return *index < m_books.size() ? nullptr : "it names a codebook that does not exist";
    }

    // Reads an index of a codebook that a stage reads vectors from: it must
    // have values. withoutValues is the problem when it has none.
    const char* ReadVectorBookIndex(const char* withoutValues)
    {
        uint32_t book = 0;
        if (const char* problem = ReadBookIndex(&book)) {
            return problem;
        }
        return m_books[book].hasValues ? nullptr : withoutValues;
    }

    const char* ParseCodebook()
    {
        uint32_t sync = 0;
        Codebook book = {};
        uint32_t ordered = 0;
        if (!Read(24, &sync) || !Read(16, &book.dimensions) || !Read(24, &book.entries) || !Read(1, &ordered)) {
            return kCutShort;
        }
        if (sync != 0x564342) {
            return "a codebook lacks its sync pattern";
        }
        if (book.dimensions == 0) {
            return "a codebook has no dimensions";
        }
        if (book.entries == 0) {
            return "a codebook has no entries";
        }
        if (BitCount(book.dimensions) + BitCount(book.entries) > 24) {
            return "a codebook is too large";
        }
        CodeSpace space;
        if (const char* problem =
                ordered ? ReadOrderedLengths(book.entries, &space) : ReadLengths(book.entries, &space)) {
            return problem;
        }
        // The decoder builds its tables only from a complete prefix code (or a
        // single codeword of one bit); a book it cannot build breaks it for good.
        if (space.used > 0 && space.claimed != kWholeCodeSpace &&
            !(space.used == 1 && space.claimed == kWholeCodeSpace / 2)) {
            return "a codebook's codeword lengths do not form a complete code";
        }
        uint32_t lookup = 0;
        if (!Read(4, &lookup)) {
            return kCutShort;
        }
        if (lookup > 2) {
            return "a codebook has an unknown lookup type";
        }
        if (lookup != 0) {
            uint32_t minimum = 0;
            uint32_t delta = 0;
            uint32_t valueBits = 0;
            uint32_t sequence = 0;
            if (!Read(32, &minimum) || !Read(32, &delta) || !Read(4, &valueBits) || !Read(1, &sequence)) {
                return kCutShort;
            }
            const uint64_t values = lookup == 1 ? LatticeValuesPerDimension(book.entries, book.dimensions)
                                                : uint64_t(book.entries) * book.dimensions;
            if (!m_bits.Skip(values * (valueBits + 1))) {
                return kCutShort;
            }
        }
        book.hasValues = lookup != 0;
        m_books.push_back(book);
        return nullptr;
    }

    const char* ReadOrderedLengths(uint32_t entries, CodeSpace* space)
    {
        uint32_t length = 0;
        if (!Read(5, &length)) {
            return kCutShort;
        }
        ++length;
        for (uint32_t entry = 0; entry < entries; ++length) {
            uint32_t number = 0;
            if (!Read(BitCount(entries - entry), &number)) {
                return kCutShort;
            }
            if (length > 32 || number > entries - entry) {
                return "a codebook's codeword lengths are inconsistent";
            }
            entry += number;
            space->Claim(length, number);
        }
        return nullptr;
    }

    const char* ReadLengths(uint32_t entries, CodeSpace* space)
    {
        uint32_t sparse = 0;
        if (!Read(1, &sparse)) {
            return kCutShort;
        }
        for (uint32_t entry = 0; entry < entries; ++entry) {
            uint32_t used = 1;
            uint32_t length = 0;
            if ((sparse && !Read(1, &used)) || (used && !Read(5, &length))) {
                return kCutShort;
            }
            if (used) {
                space->Claim(length + 1, 1);
            }
        }
        return nullptr;
    }

    const char* ParseTimeDomainTransform()
    {
        uint32_t type = 0;
        if (!Read(16, &type)) {
            return kCutShort;
        }
        return type == 0 ? nullptr : "it has an unknown time-domain transform";
    }

    const char* ParseFloor()
    {
        uint32_t type = 0;
        if (!Read(16, &type)) {
            return kCutShort;
        }
        return type == 0 ? ParseFloor0() : type == 1 ? ParseFloor1() : "it has an unknown floor type";
    }

    const char* ParseFloor0()
    {
        uint32_t order = 0, rate = 0, barkMapSize = 0, amplitudeBits = 0, amplitudeOffset = 0, bookCount = 0;
        if (!Read(8, &order) || !Read(16, &rate) || !Read(16, &barkMapSize) || !Read(6, &amplitudeBits) ||
            !Read(8, &amplitudeOffset) || !Read(4, &bookCount)) {
            return kCutShort;
        }
        if (order == 0 || rate == 0 || barkMapSize == 0) {
            return "a floor of type 0 has a zero order, rate or bark map size";
        }
        for (uint32_t i = 0; i <= bookCount; ++i) {
            if (const char* problem = ReadVectorBookIndex("a floor reads vectors from a codebook without values")) {
                return problem;
            }
        }
        return nullptr;
    }

    const char* ParseFloor1()
    {
        uint32_t partitions = 0;
        if (!Read(5, &partitions)) {
            return kCutShort;
        }
        std::vector<uint32_t> partitionClasses(partitions);
        uint32_t classCount = 0;
        for (uint32_t& partitionClass : partitionClasses) {
            if (!Read(4, &partitionClass)) {
                return kCutShort;
            }
            classCount = std::max(classCount, partitionClass + 1);
        }
        std::vector<uint32_t> classDimensions(classCount);
        for (uint32_t& dimensions : classDimensions) {
            uint32_t subclasses = 0;
            if (!Read(3, &dimensions) || !Read(2, &subclasses)) {
                return kCutShort;
            }
            ++dimensions;
            uint32_t book = 0;
            if (subclasses != 0) {
                if (const char* problem = ReadBookIndex(&book)) {
                    return problem;
                }
            }
            for (uint32_t j = 0; j < (1u << subclasses); ++j) {
                if (!Read(8, &book)) {
                    return kCutShort;
                }
                if (book != 0 && book - 1 >= m_books.size()) {
                    return "it names a codebook that does not exist";
                }
            }
        }
        uint32_t multiplier = 0;
        uint32_t rangeBits = 0;
        if (!Read(2, &multiplier) || !Read(4, &rangeBits)) {
            return kCutShort;
        }
        // The two ends of the range, then one position per value.
        std::vector<uint32_t> positions = {0, 1u << rangeBits};
        for (uint32_t partitionClass : partitionClasses) {
            for (uint32_t j = 0; j < classDimensions[partitionClass]; ++j) {
                uint32_t x = 0;
                if (!Read(int(rangeBits), &x)) {
                    return kCutShort;
                }
                positions.push_back(x);
                if (positions.size() > 65) {
                    return "a floor of type 1 has more than 65 positions";
                }
            }
        }
        std::sort(positions.begin(), positions.end());
        if (std::adjacent_find(positions.begin(), positions.end()) != positions.end()) {
            return "a floor of type 1 repeats a position";
        }
        return nullptr;
    }

    const char* ParseResidue()
    {
        uint32_t type = 0, begin = 0, end = 0, partitionSize = 0, classifications = 0;
        if (!Read(16, &type) || !Read(24, &begin) || !Read(24, &end) || !Read(24, &partitionSize) ||
            !Read(6, &classifications)) {
            return kCutShort;
        }
        if (type > 2) {
            return "it has an unknown residue type";
        }
        ++classifications;
        uint32_t classBook = 0;
        if (const char* problem = ReadBookIndex(&classBook)) {
            return problem;
        }
        // One entry of the classification book codes one classification per dimension.
        uint64_t combinations = 1;
        for (uint32_t d = 0; d < m_books[classBook].dimensions; ++d) {
            combinations *= classifications;
            if (combinations > m_books[classBook].entries) {
                return "a residue's classification book is smaller than its classifications need";
            }
        }
        std::vector<uint32_t> cascades(classifications);
        for (uint32_t& cascade : cascades) {
            uint32_t low = 0, more = 0, high = 0;
            if (!Read(3, &low) || !Read(1, &more) || (more && !Read(5, &high))) {
                return kCutShort;
            }
            cascade = high << 3 | low;
        }
        for (uint32_t cascade : cascades) {
            for (int stage = 0; stage < 8; ++stage) {
                if (!((cascade >> stage) & 1u)) continue;
                if (const char* problem =
                        ReadVectorBookIndex("a residue reads vectors from a codebook without values")) {
                    return problem;
                }
            }
        }
        return nullptr;
    }

    const char* ParseMapping()
    {
        uint32_t type = 0, hasSubmaps = 0, submaps = 0, coupled = 0;
        if (!Read(16, &type) || !Read(1, &hasSubmaps) || (hasSubmaps && !Read(4, &submaps)) || !Read(1, &coupled)) {
            return kCutShort;
        }
        if (type != 0) {
            return "it has an unknown mapping type";
        }
        ++submaps;
        if (coupled) {
            uint32_t steps = 0;
            if (!Read(8, &steps)) {
                return kCutShort;
            }
            const int channelBits = BitCount(uint32_t(m_channels - 1));
            for (uint32_t i = 0; i <= steps; ++i) {
                uint32_t magnitude = 0, angle = 0;
                if (!Read(channelBits, &magnitude) || !Read(channelBits, &angle)) {
                    return kCutShort;
                }
                if (magnitude == angle || magnitude >= uint32_t(m_channels) || angle >= uint32_t(m_channels)) {
                    return "a mapping couples channels that do not exist";
                }
            }
        }
        uint32_t reserved = 0;
        if (!Read(2, &reserved)) {
            return kCutShort;
        }
        if (reserved != 0) {
            return "a mapping's reserved field is not zero";
        }
        if (submaps > 1) {
            for (int channel = 0; channel < m_channels; ++channel) {
                uint32_t multiplex = 0;
                if (!Read(4, &multiplex)) {
                    return kCutShort;
                }
                if (multiplex >= submaps) {
                    return "a mapping sends a channel to a submap that does not exist";
                }
            }
        }
        for (uint32_t i = 0; i < submaps; ++i) {
            uint32_t time = 0, floor = 0, residue = 0;
            if (!Read(8, &time) || !Read(8, &floor) || !Read(8, &residue)) {
                return kCutShort;
            }
            if (floor >= m_floorCount || residue >= m_residueCount) {
                return "a mapping names a floor or residue that does not exist";
            }
        }
        return nullptr;
    }

    const char* ParseMode()
    {
        uint32_t blockFlag = 0, window = 0, transform = 0, mapping = 0;
        if (!Read(1, &blockFlag) || !Read(16, &window) || !Read(16, &transform) || !Read(8, &mapping)) {
            return kCutShort;
        }
        if (window != 0 || transform != 0) {
            return "a mode has an unknown window or transform type";
        }
        return mapping < m_mappingCount ? nullptr : "a mode names a mapping that does not exist";
    }

    BitReader m_bits;
    int m_channels;
    std::vector<Codebook> m_books;
    uint32_t m_floorCount = 0;
    uint32_t m_residueCount = 0;
    uint32_t m_mappingCount = 0;
};

}  // namespace

const char* HVI_CheckVorbisSetupHeader(const uint8_t* packet, int64_t bytes, int channels)
{
    if (bytes < 7 || packet[0] != 5 || memcmp(packet + 1, "vorbis", 6) != 0) {
        return "it is not a setup header";
    }
    if (channels < 1 || channels > 255) {
        return "its stream has no valid channel count";
    }
    return SetupParser(packet + 7, bytes - 7, channels).Parse();
}
