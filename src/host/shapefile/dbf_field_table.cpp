#include "host/shapefile/dbf_field_table.h"

#include "host/shapefile/text_codec.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

FieldValueType ValueTypeOfDbfField(char nativeType, int width, int decimals) {
    switch (nativeType) {
    case 'N':
    case 'F':
        if (decimals > 0) return FieldValueType::Double;
        return width < 10 ? FieldValueType::Int32 : width < 19 ? FieldValueType::Int64 : FieldValueType::Double;
    case 'D': return FieldValueType::DateTime;
    case 'L': return FieldValueType::Boolean;
    default: return FieldValueType::String;
    }
}

DbfFieldTable::DbfFieldTable(DBFHandle dbf, const TextDecoder& decoder, const std::string& fileName)
    : m_recordLength(dbf->nRecordLength) {
    const int count = DBFGetFieldCount(dbf);
    m_fields.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(dbf, i, name, &width, &decimals);
        const int offset = dbf->panFieldOffset[i];
        if (width <= 0 || offset < 1 || offset + width > m_recordLength)
            throw Support::ApplicationException(fileName + " is damaged: field " + std::to_string(i + 1) +
                                                " lies outside the record.");
        const char type = DBFGetNativeFieldType(dbf, i);
        m_fields.push_back({decoder.Decode(name), type, width, decimals, offset, ValueTypeOfDbfField(type, width, decimals)});
        m_upperNames.push_back(UpperAscii(m_fields.back().name));
    }
}

std::vector<std::string> DbfFieldTable::Names() const {
    std::vector<std::string> names;
    names.reserve(m_fields.size());
    for (const DbfField& field : m_fields) names.push_back(field.name);
    return names;
}

// A scan of a few short names costs less than hashing the name; the first
// of equal names wins. A name is at most 11 bytes in the file, and each of
// them decodes to at most 4 bytes of UTF-8.
int DbfFieldTable::IndexOf(std::string_view name) const {
    char upper[4 * XBASE_FLDNAME_LEN_READ];
    if (name.size() > sizeof upper) return -1;
    for (std::size_t i = 0; i < name.size(); ++i)
        upper[i] = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 'a' + 'A') : name[i];
    const std::string_view wanted(upper, name.size());
    for (std::size_t i = 0; i < m_upperNames.size(); ++i)
        if (m_upperNames[i] == wanted) return static_cast<int>(i);
    return -1;
}

}  // namespace Norvane::Shapefile::Detail
