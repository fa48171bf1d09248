#include "host/shapefile/dbf_field_definition.h"

#include <chrono>

#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr int kMaxWidth = 254;
constexpr std::size_t kMaxNameLength = XBASE_FLDNAME_LEN_WRITE;

[[noreturn]] void refuse(const DBFFieldInfo& info, const std::string& fileName, const std::string& why) {
    throw Support::ArgumentException("Cannot add field \"" + info.Name + "\" to " + fileName + ": " + why + ".");
}

char nativeTypeOf(const DBFFieldInfo& info, const std::string& fileName) {
    switch (info.Type) {
    case DBFFieldType::Double:
    case DBFFieldType::Integer: return 'N';
    case DBFFieldType::Logical: return 'L';
    case DBFFieldType::Date: return 'D';
    case DBFFieldType::Text:
    case DBFFieldType::LongText: return 'C';
    }
    refuse(info, fileName, "its type " + std::to_string(static_cast<int>(info.Type)) + " is unknown");
}

void checkName(const DBFFieldInfo& info, const DbfFieldTable& existing, const std::string& fileName) {
    if (info.Name.empty() || info.Name.size() > kMaxNameLength) refuse(info, fileName, "a name takes 1 to 10 bytes");
    for (const char c : info.Name)
        if (c <= ' ' || c > '~') refuse(info, fileName, "a name is plain ASCII without spaces");
    if (existing.IndexOf(info.Name) >= 0) refuse(info, fileName, "the file has a field of that name");
}

void checkLayout(const DBFFieldInfo& info, char type, const std::string& fileName) {
    const bool fixedWidth = (type == 'L' && info.Width == 1) || (type == 'D' && info.Width == 8);
    const bool decimalsFit = info.Decimals == 0 || (info.Type == DBFFieldType::Double && info.Decimals <= info.Width - 2);
    if ((type == 'L' || type == 'D') ? !fixedWidth : (info.Width < 1 || info.Width > kMaxWidth))
        refuse(info, fileName, "its width " + std::to_string(info.Width) + " is not one its type can have");
    if (info.Decimals < 0 || !decimalsFit)
        refuse(info, fileName, "its " + std::to_string(info.Decimals) + " decimals do not fit");
}

}  // namespace

void AddDbfField(DBFHandle dbf, const DBFFieldInfo& info, const DbfFieldTable& existing, const std::string& fileName) {
    const char type = nativeTypeOf(info, fileName);
    checkName(info, existing, fileName);
    checkLayout(info, type, fileName);
    if (DBFAddNativeFieldType(dbf, info.Name.c_str(), type, info.Width, info.Decimals) < 0)
        throw Support::ApplicationException("Could not add field \"" + info.Name + "\" to " + fileName + ".");
}

std::string EmptyDbfImage() {
    const std::chrono::year_month_day today{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    std::string image(34, '\0');
    image[0] = 0x03;  // dBASE III
    image[1] = static_cast<char>(static_cast<int>(today.year()) - 1900);
    image[2] = static_cast<char>(static_cast<unsigned>(today.month()));
    image[3] = static_cast<char>(static_cast<unsigned>(today.day()));
    image[8] = 33;  // header length: the header and its terminator
    image[10] = 1;  // record length: the deletion flag
    image[32] = 0x0D;
    image[33] = 0x1A;
    return image;
}

}  // namespace Norvane::Shapefile::Detail
