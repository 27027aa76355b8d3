#include "winapi/d3d11/memory/texel_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace halvo::d3d11::memory {

namespace {

uint64_t GetBits(const uint8_t* bytes, unsigned offset, unsigned count)
{
    uint64_t value = 0;
    for (unsigned bit = 0; bit < count; ++bit) {
        const unsigned at = offset + bit;
        value |= uint64_t((bytes[at / 8] >> (at % 8)) & 1u) << bit;
    }
    return value;
}

void PutBits(uint8_t* bytes, unsigned offset, unsigned count, uint64_t value)
{
    for (unsigned bit = 0; bit < count; ++bit) {
        const unsigned at = offset + bit;
        const uint8_t mask = uint8_t(1u << (at % 8));
        if ((value >> bit) & 1u) {
            bytes[at / 8] |= mask;
        } else {
            bytes[at / 8] &= uint8_t(~mask);
        }
    }
}

double HalfToDouble(uint16_t half)
{
    const int sign = (half >> 15) & 1;
    const int exponent = (half >> 10) & 0x1f;
    const int mantissa = half & 0x3ff;
    double value;
    if (exponent == 0) {
        value = std::ldexp(double(mantissa), -24);
    } else if (exponent == 31) {
        value = mantissa == 0 ? INFINITY : NAN;
    } else {
        value = std::ldexp(double(mantissa | 0x400), exponent - 25);
    }
    return sign ? -value : value;
}

uint16_t FloatToHalf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint16_t sign = uint16_t((bits >> 16) & 0x8000);
    const int exponent = int((bits >> 23) & 0xff);
    uint32_t mantissa = bits & 0x7fffff;
    if (exponent == 0xff) return uint16_t(sign | 0x7c00 | (mantissa ? 0x200 : 0));
    const int halfExponent = exponent - 127 + 15;
    if (halfExponent >= 31) return uint16_t(sign | 0x7c00);
    if (halfExponent <= 0) {
        if (halfExponent < -10) return sign;
        mantissa |= 0x800000;
        const unsigned shift = unsigned(14 - halfExponent);
        uint32_t half = mantissa >> shift;
        const uint32_t rest = mantissa & ((1u << shift) - 1);
        const uint32_t halfway = 1u << (shift - 1);
        if (rest > halfway || (rest == halfway && (half & 1))) ++half;
        return uint16_t(sign | half);
    }
    uint32_t half = (uint32_t(halfExponent) << 10) | (mantissa >> 13);
    const uint32_t rest = mantissa & 0x1fff;
    if (rest > 0x1000 || (rest == 0x1000 && (half & 1))) ++half;
    return uint16_t(sign | half);
}

double SrgbToLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double LinearToSrgb(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055; }

double DecodeChannel(const Channel& channel, uint64_t raw)
{
    const double maximum = double((uint64_t{1} << channel.bits) - 1);
    switch (channel.kind) {
    case ChannelKind::kUnorm: return double(raw) / maximum;
    case ChannelKind::kSrgb: return SrgbToLinear(double(raw) / maximum);
    case ChannelKind::kSnorm: {
        const double signedMaximum = double((uint64_t{1} << (channel.bits - 1)) - 1);
        const int64_t value = int64_t(raw << (64 - channel.bits)) >> (64 - channel.bits);
        return std::max(double(value) / signedMaximum, -1.0);
    }
    case ChannelKind::kUint: return double(raw);
    case ChannelKind::kSint: return double(int64_t(raw << (64 - channel.bits)) >> (64 - channel.bits));
    case ChannelKind::kFloat:
        if (channel.bits == 16) return HalfToDouble(uint16_t(raw));
        if (channel.bits == 32) {
            float value;
            const uint32_t bits = uint32_t(raw);
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return 0.0;
    default: return 0.0;
    }
}

// Halves round up; the small allowance keeps an average of steps that is a
// half in exact arithmetic (a box filter of 8-bit values) from rounding down
// through the error of its floating-point sum.
uint64_t RoundHalfAway(double value) { return uint64_t(std::floor(value + 0.5 + 1e-7)); }

uint64_t EncodeChannel(const Channel& channel, double value)
{
    const uint64_t mask = channel.bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << channel.bits) - 1;
    const double maximum = double(mask);
    if (std::isnan(value)) value = 0.0;
    switch (channel.kind) {
    case ChannelKind::kUnorm: return RoundHalfAway(std::clamp(value, 0.0, 1.0) * maximum);
    case ChannelKind::kSrgb: return RoundHalfAway(LinearToSrgb(std::clamp(value, 0.0, 1.0)) * maximum);
    case ChannelKind::kSnorm: {
        const double signedMaximum = double((uint64_t{1} << (channel.bits - 1)) - 1);
        const double scaled = std::clamp(value, -1.0, 1.0) * signedMaximum;
        const int64_t rounded = scaled < 0 ? -int64_t(RoundHalfAway(-scaled)) : int64_t(RoundHalfAway(scaled));
        return uint64_t(rounded) & mask;
    }
    case ChannelKind::kUint: return uint64_t(std::clamp(value, 0.0, maximum)) & mask;
    case ChannelKind::kSint: {
        const double limit = double((uint64_t{1} << (channel.bits - 1)) - 1);
        return uint64_t(int64_t(std::clamp(value, -limit - 1, limit))) & mask;
    }
    case ChannelKind::kFloat:
        if (channel.bits == 16) return FloatToHalf(float(value));
        if (channel.bits == 32) {
            const float single = float(value);
            uint32_t bits;
            std::memcpy(&bits, &single, sizeof bits);
            return bits;
        }
        return 0;
    case ChannelKind::kOpaquePad: return mask;
    default: return 0;
    }
}

}  // namespace

Texel DecodeTexel(const FormatInfo& info, const uint8_t* bytes)
{
    Texel texel;
    unsigned offset = 0;
    for (unsigned c = 0; c < info.channelCount; ++c) {
        const Channel& channel = info.channels[c];
        if (channel.kind != ChannelKind::kOpaquePad && channel.kind != ChannelKind::kZeroPad) {
            texel.values[channel.component] = DecodeChannel(channel, GetBits(bytes, offset, channel.bits));
        }
        offset += channel.bits;
    }
    return texel;
}

void EncodeTexel(const FormatInfo& info, const Texel& texel, uint32_t componentMask, uint8_t* bytes)
{
    unsigned offset = 0;
    for (unsigned c = 0; c < info.channelCount; ++c) {
        const Channel& channel = info.channels[c];
        const bool padding = channel.kind == ChannelKind::kOpaquePad || channel.kind == ChannelKind::kZeroPad;
        if (padding || (componentMask & (1u << channel.component))) {
            PutBits(bytes, offset, channel.bits, EncodeChannel(channel, texel.values[channel.component]));
        }
        offset += channel.bits;
    }
}

void WrittenBits(const FormatInfo& info, uint32_t componentMask, uint8_t* bytes)
{
    unsigned offset = 0;
    for (unsigned c = 0; c < info.channelCount; ++c) {
        const Channel& channel = info.channels[c];
        const bool padding = channel.kind == ChannelKind::kOpaquePad || channel.kind == ChannelKind::kZeroPad;
        if (padding || (componentMask & (1u << channel.component))) PutBits(bytes, offset, channel.bits, ~uint64_t{0});
        offset += channel.bits;
    }
}

}  // namespace halvo::d3d11::memory
