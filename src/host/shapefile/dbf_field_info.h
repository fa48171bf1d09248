// The attribute kinds a shapefile writer can add, and the description of one
// new field.
#pragma once

#include <string>

namespace Norvane::Shapefile {

// Codes are those the data layer's field-type table produces.
enum class DBFFieldType : int {
    Double = 2,    // N(24,15)
    Integer = 3,   // N(9,0): read back as a 32-bit integer
    Logical = 4,   // L(1)
    Date = 5,      // D(8)
    Text = 7,      // C(80)
    LongText = 8,  // C(254), the widest text a dBASE field holds
};

struct DBFFieldInfo {
    // The usual width and decimals of `type`.
    DBFFieldInfo(std::string name, DBFFieldType type);
    // An explicit layout; the writer checks it against the dBASE limits.
    DBFFieldInfo(std::string name, DBFFieldType type, int width, int decimals);

    std::string Name;  // at most 10 bytes
    DBFFieldType Type;
    int Width;
    int Decimals;
};

}  // namespace Norvane::Shapefile
