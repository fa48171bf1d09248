// The shapes of a shapefile held in memory (.shp and .shx), checked whole
// when opened so that every record can then be read without surprises, and
// read through shapelib.
#pragma once

#include <shapefil.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host/shapefile/memory_stream.h"
#include "host/shapefile/record_box.h"

namespace Norvane::Shapefile::Detail {

class ShapeTable {
public:
    // The images must outlive the table. ApplicationException naming the
    // file when the two files are not a well-formed shapefile or disagree.
    ShapeTable(std::span<const unsigned char> shp, std::span<const unsigned char> shx, const std::string& name);
    ~ShapeTable();
    ShapeTable(const ShapeTable&) = delete;
    ShapeTable& operator=(const ShapeTable&) = delete;

    int ShapeType() const { return m_shapeType; }
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    // The ESRI type of one record: 0 for a null shape.
    int RecordShapeType(int record) const;
    RecordBox Box(int record) const;
    std::vector<RecordBox> Boxes() const;
    // The record's shape, owned by the table until the next call; null for a
    // null shape or a shape without points.
    const SHPObject* Read(int record);

private:
    struct Span {
        std::uint32_t offset;  // of the content, past the 8-byte record header
        std::uint32_t length;  // of the content
    };
    void checkRecords(std::span<const unsigned char> shx, std::uint64_t shpLength);
    void checkContent(int record, Span span) const;
    [[noreturn]] void damaged(const std::string& what) const;

    std::span<const unsigned char> m_shp;
    std::string m_shpName;
    int m_shapeType = 0;
    std::vector<Span> m_records;
    MemoryFilesProvider m_files;
    SHPHandle m_handle = nullptr;
    SHPObject* m_current = nullptr;
};

// Point, polyline, polygon, multipoint or null: the ESRI type without Z or M.
int ShapeFamily(int shapeType);
bool HasZ(int shapeType);

}  // namespace Norvane::Shapefile::Detail
