// Fixed-size numbers in the byte orders of the shapefile formats.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace Norvane::Shapefile::Detail {

inline std::uint32_t BigEndian32(const unsigned char* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

inline std::int32_t LittleEndian32(const unsigned char* at) {
    return static_cast<std::int32_t>(std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
                                     (std::uint32_t{at[3]} << 24));
}

inline std::uint16_t LittleEndian16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline double LittleEndianDouble(const unsigned char* at) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | at[i];
    return std::bit_cast<double>(bits);
}

inline void PutBigEndian32(unsigned char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

inline void PutLittleEndian16(unsigned char* at, std::uint16_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

inline void PutLittleEndian32(unsigned char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void PutLittleEndianDouble(unsigned char* at, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

}  // namespace Norvane::Shapefile::Detail
