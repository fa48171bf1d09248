// Appends new records to a shapefile's staged files directly. Through
// shapelib a record costs several allocations and a byte-by-byte blanking of
// its attribute record, which at millions of records is most of a write;
// here it costs a copy of its bytes. Only the plain shape types (null, point,
// polyline, polygon, multipoint) are written this way; shapes with z or
// measures stay with shapelib. The shapelib handles are closed while
// records are appended, and Finish leaves headers they can open again.
// Appended to a table without records, the attribute records are held
// (up to a bound) until Finish, which fits the text fields to their values
// when the writer is closing (see held_records.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/shapefile/dbf_field_table.h"
#include "host/shapefile/held_records.h"
#include "host/shapefile/hook_stream.h"
#include "host/shapefile/record_box.h"
#include "host/shapefile/shape_geometry.h"

namespace Norvane::Shapefile::Detail {

// Where the files end, as the shapelib handles had them before closing.
struct AppendStart {
    int recordCount;
    std::uint32_t shpLength;  // bytes
    int dbfHeaderLength;
    int dbfRecordLength;
};

class RecordAppender {
public:
    static bool Takes(int shapeType);

    // Opens the staged .shp, .shx and .dbf through `files`. `fields` are
    // the table's, in the order of their bytes.
    RecordAppender(StreamProvider& files, const AppendStart& start, std::string shpName, std::span<const DbfField> fields);

    // `shape` is a null shape or one of the file's type; `attributes` the
    // whole dBASE record, deletion flag first.
    void Append(const FlatShape& shape, std::string_view attributes);
    int RecordCount() const { return m_recordCount; }
    // Writes the held records (fitted when `fitText`), the end-of-file mark
    // of the table, and the counts, lengths and `extent` into the headers;
    // then closes the files.
    void Finish(const RecordBox& extent, bool fitText);

private:
    void EncodeShape(const FlatShape& shape);

    std::string m_shpName;
    std::unique_ptr<HookStream> m_shp, m_shx, m_dbf;
    AppendStart m_start;
    int m_recordCount;
    std::uint64_t m_shpLength;
    std::vector<unsigned char> m_record;  // the shape record being encoded
    std::unique_ptr<HeldRecords> m_held;
};

}  // namespace Norvane::Shapefile::Detail
