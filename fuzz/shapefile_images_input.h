// A shapefile from fuzzer bytes: two little-endian 32-bit lengths, then the
// .shp and the .shx of those lengths, then the .dbf.
#pragma once

#include <cstdint>
#include <cstring>

#include "host/host.h"

namespace fuzz_input {

inline Norvane::Shapefile::FileImage Take(const std::uint8_t*& data, std::size_t& size, std::size_t wanted) {
    const std::size_t taken = wanted < size ? wanted : size;
    Norvane::Shapefile::FileImage part(data, data + taken);
    data += taken;
    size -= taken;
    return part;
}

inline std::uint32_t Length(const std::uint8_t*& data, std::size_t& size) {
    std::uint32_t length = 0;
    if (size >= 4) std::memcpy(&length, data, 4);
    data += size >= 4 ? 4 : size;
    size -= size >= 4 ? 4 : size;
    return length;
}

inline Norvane::Shapefile::ShapefileImages ShapefileImagesOf(const std::uint8_t* data, std::size_t size) {
    Norvane::Shapefile::ShapefileImages images;
    images.name = "fuzz";
    const std::uint32_t shpLength = Length(data, size);
    const std::uint32_t shxLength = Length(data, size);
    images.shp = Take(data, size, shpLength);
    images.shx = Take(data, size, shxLength);
    images.dbf = Take(data, size, size);
    return images;
}

}  // namespace fuzz_input
