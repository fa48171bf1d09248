// A record cursor over a shapefile: its shapes, their boxes and their
// attributes. The files are read into memory when opened and checked whole,
// so the walk that follows is fast and a damaged file fails at once with an
// error naming it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/shapefile/field_value_type.h"
#include "host/shapefile/record_box.h"
#include "host/shapefile/shapefile_files.h"
#include "host/support/field_value.h"
#include "host/support/geometry_object.h"
#include "host/support/units.h"

namespace Norvane::Shapefile {

class ShapefileDataSourceReader {
public:
    ShapefileDataSourceReader();
    ~ShapefileDataSourceReader();
    ShapefileDataSourceReader(const ShapefileDataSourceReader&) = delete;
    ShapefileDataSourceReader& operator=(const ShapefileDataSourceReader&) = delete;
    ShapefileDataSourceReader(ShapefileDataSourceReader&&) noexcept;
    ShapefileDataSourceReader& operator=(ShapefileDataSourceReader&&) noexcept;

    // Opens the shapefile at `path` (with or without ".shp"); true once open.
    // FileNotFoundException naming a missing .shp, .shx or .dbf;
    // ApplicationException naming the file that is damaged or disagrees with
    // the others. The files are not held open afterwards.
    bool OpenDataFile(const std::string& path);
    // The same for files already in memory.
    bool OpenDataImages(ShapefileImages images);
    void Close();
    bool IsOpen() const;

    // The cursor: before the first record after opening and MoveReset.
    int RecordCount() const;
    void MoveReset();
    bool MoveNext();
    bool MoveTo(int index);
    int CurrentPosition() const;

    std::vector<std::string> GetFieldNames() const;
    // Field names match without regard to case; nullopt for a missing field.
    std::optional<FieldValueType> GetFieldType(const std::string& name) const;
    // -1 for a missing field; the index serves the faster overloads below.
    int GetFieldIndex(const std::string& name) const;
    // The current record's value: null for blank text and for a number,
    // date or logical that does not read as one. ArgumentException for a
    // missing field, InvalidOperationException off the records.
    Support::FieldValue GetFieldValue(const std::string& name);
    Support::FieldValue GetFieldValue(int fieldIndex);
    // The current record's stored text of the field, without padding, in UTF-8.
    std::string GetFieldRawText(const std::string& name);
    std::string GetFieldRawText(int fieldIndex);

    // The ESRI shape type of the file (1 point, 3 polyline, 5 polygon,
    // 8 multipoint, plus 10 for Z and 20 for M forms; 0 for null shapes only).
    int ShapeType() const;
    // The current record's geometry: a point, a multipoint's points, or the
    // parts of a polyline or the rings of a polygon as stored; nothing for a
    // null shape. Z and M values are not read.
    Support::GeometryObject GetGeometry();
    // A point record's point; Empty for a null shape.
    // InvalidOperationException on other shape types.
    Support::GeometryPoint GetPointGeometry();
    // The parts of a polyline or multipoint (its points as one part); empty
    // for a null shape. InvalidOperationException on point files.
    Support::PointArrayList GetPolylineGeometryNonJaggedArray();
    // The rings of a polygon, as stored: closed, outer rings clockwise,
    // holes anticlockwise. InvalidOperationException on point files.
    Support::PointArrayList GetPolygonGeometryNonJaggedArray();

    // The current record's box from its header; empty for a null shape.
    RecordBox GetCurrentRecordBox() const;
    // Every record's box, in record order, read from the record headers only.
    std::vector<RecordBox> GetRecordBoxes() const;

    // The linear unit of the .prj beside the file (Unknown without one);
    // Degree for a geographic coordinate system.
    Support::LengthUnit ProjectionLengthUnit() const;
    // The code page the text of the .dbf is decoded from.
    std::string CodePage() const;

private:
    struct Impl;
    Impl& open() const;
    int currentRecord() const;
    Support::PointArrayList parts(const char* kind);

    std::unique_ptr<Impl> m_impl;
};

}  // namespace Norvane::Shapefile
