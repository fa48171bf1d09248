#include "host/shapefile/dbf_field_info.h"

#include <utility>

namespace Norvane::Shapefile {
namespace {

struct Layout {
    int width;
    int decimals;
};

Layout usualLayout(DBFFieldType type) {
    switch (type) {
    case DBFFieldType::Double: return {24, 15};
    case DBFFieldType::Integer: return {9, 0};
    case DBFFieldType::Logical: return {1, 0};
    case DBFFieldType::Date: return {8, 0};
    case DBFFieldType::Text: return {80, 0};
    case DBFFieldType::LongText: return {254, 0};
    }
    return {0, 0};  // an unknown code: the writer refuses the width
}

}  // namespace

DBFFieldInfo::DBFFieldInfo(std::string name, DBFFieldType type)
    : DBFFieldInfo(std::move(name), type, usualLayout(type).width, usualLayout(type).decimals) {}

DBFFieldInfo::DBFFieldInfo(std::string name, DBFFieldType type, int width, int decimals)
    : Name(std::move(name)), Type(type), Width(width), Decimals(decimals) {}

}  // namespace Norvane::Shapefile
