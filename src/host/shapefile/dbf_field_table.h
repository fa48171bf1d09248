// The field layout of an open .dbf: names, dBASE types, widths and where
// each field lies in a record, with lookup by name as dBASE matches names
// (ignoring case).
#pragma once

#include <shapefil.h>

#include <string>
#include <string_view>
#include <vector>

#include "host/shapefile/field_value_type.h"

namespace Norvane::Shapefile {
class TextDecoder;
}

namespace Norvane::Shapefile::Detail {

struct DbfField {
    std::string name;
    char nativeType;  // 'C', 'N', 'F', 'D', 'L', ...
    int width;
    int decimals;
    int offset;  // from the start of the record, whose first byte is the deletion flag
    FieldValueType valueType;
};

// N and F fields without decimals are integers when every value of their
// width fits: 32-bit below 10 digits, 64-bit below 19, real beyond.
FieldValueType ValueTypeOfDbfField(char nativeType, int width, int decimals);

class DbfFieldTable {
public:
    DbfFieldTable() = default;
    // ApplicationException naming `fileName` when a field lies outside the record.
    DbfFieldTable(DBFHandle dbf, const TextDecoder& decoder, const std::string& fileName);

    const std::vector<DbfField>& Fields() const { return m_fields; }
    std::vector<std::string> Names() const;
    int RecordLength() const { return m_recordLength; }
    // -1 when there is no such field.
    int IndexOf(std::string_view name) const;

private:
    std::vector<DbfField> m_fields;
    std::vector<std::string> m_upperNames;
    int m_recordLength = 0;
};

std::string UpperAscii(std::string_view text);

}  // namespace Norvane::Shapefile::Detail
