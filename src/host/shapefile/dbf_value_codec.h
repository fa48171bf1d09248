// Field values to and from the fixed-width text a dBASE record stores.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "host/shapefile/dbf_field_table.h"
#include "host/support/field_value.h"

namespace Norvane::Shapefile {
class TextDecoder;
class TextEncoder;
}

namespace Norvane::Shapefile::Detail {

// The stored text without the blanks (spaces, NUL bytes) that pad it.
std::string_view TrimDbfText(std::string_view stored);

// The value of the stored text: null for blank text, and for a number, date
// or logical that does not read as one ("*****", "N/A", "12abc").
Support::FieldValue ParseDbfValue(const DbfField& field, std::string_view stored, const TextDecoder& decoder);

// Fills `out`, exactly field.width bytes, with `value` padded as the
// field's type is. Null writes a blank. ArgumentException naming the field
// and `fileName` when the value has no form in the field or does not fit its
// width; `out` is then unchanged. Allocates nothing for the usual values:
// the writer formats millions of them.
void FormatDbfValue(const DbfField& field, const Support::FieldValue& value, const TextEncoder& encoder,
                    const std::string& fileName, std::span<char> out);

}  // namespace Norvane::Shapefile::Detail
