// The records of a .dbf held in memory, checked against its header when
// opened, read through shapelib and decoded into field values.
#pragma once

#include <shapefil.h>

#include <optional>
#include <span>
#include <string>

#include "host/shapefile/dbf_field_table.h"
#include "host/shapefile/memory_stream.h"
#include "host/shapefile/text_codec.h"
#include "host/support/field_value.h"

namespace Norvane::Shapefile::Detail {

class DbfTable {
public:
    // `dbf` must outlive the table; `cpgText` is the code-page file's text,
    // if any. ApplicationException naming `fileName` when the file is no
    // dBASE table or holds fewer records than its header counts.
    DbfTable(std::span<const unsigned char> dbf, const std::string& fileName, const std::optional<std::string>& cpgText);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    int RecordCount() const { return m_recordCount; }
    const DbfFieldTable& Fields() const { return m_fields; }
    const std::string& CodePage() const { return m_codePage; }

    // Makes `record` the one Value and Text read.
    void Load(int record);
    Support::FieldValue Value(int field) const;
    // The stored text without padding, decoded to UTF-8.
    std::string Text(int field) const;

private:
    std::string_view stored(int field) const;

    std::string m_fileName;
    std::string m_codePage;
    TextDecoder m_decoder;
    MemoryFilesProvider m_files;
    DBFHandle m_handle = nullptr;
    DbfFieldTable m_fields;
    int m_recordCount = 0;
    int m_loaded = -1;
    const char* m_record = nullptr;
};

// The language-driver byte of a .dbf image (0 when it is too short to have one).
std::uint8_t LanguageDriverOf(std::span<const unsigned char> dbf);

}  // namespace Norvane::Shapefile::Detail
