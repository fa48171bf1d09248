// The attribute records of a new table, held compactly until the table is
// complete, so that each text field can be written as wide as its longest
// value instead of as declared: meter and node IDs of eight characters in
// fields declared 80 wide would triple the size of a table of connectors.
// Text is held without its padding; a record costs about its content.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "host/shapefile/dbf_field_table.h"
#include "host/shapefile/hook_stream.h"

namespace Norvane::Shapefile::Detail {

class HeldRecords {
public:
    // Whether fitting can change anything: some text field, none wider
    // than a length byte can say.
    static bool Worthwhile(std::span<const DbfField> fields);

    HeldRecords(std::vector<DbfField> fields, int recordLength);

    // `record` is a whole record at the declared widths.
    void Hold(std::string_view record);
    std::size_t HeldBytes() const { return m_blocks.size() * kBlockSize; }
    // The held records at the declared widths, from the stream's position.
    void WriteDeclared(HookStream& dbf) const;
    // The held records from `headerLength` on with every text field as wide
    // as its longest value (at least 1), and the header's widths and record
    // length to match. For a table that held no records before.
    void WriteFitted(HookStream& dbf, int headerLength) const;

private:
    template <typename Visit>
    void ForEachRecord(Visit&& visit) const;

    std::vector<DbfField> m_fields;
    int m_recordLength;
    std::vector<int> m_longest;  // per field; text fields only
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::vector<std::size_t> m_blockUsed;
    static constexpr std::size_t kBlockSize = std::size_t{4} << 20;
};

}  // namespace Norvane::Shapefile::Detail
