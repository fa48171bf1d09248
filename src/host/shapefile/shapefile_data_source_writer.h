// Adds records to an existing shapefile (typically one just created from an
// empty prototype) and sets values and shapes of its records while walking
// them. Nothing reaches the user's files before Close succeeds: the edit
// works on staging copies beside them, so a failed write (a full disk, a
// read-only folder) leaves the files as they were and its error names the
// file that failed. Text is written as UTF-8, declared in a .cpg file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/shapefile/dbf_field_info.h"
#include "host/support/field_value.h"
#include "host/support/geometry_point.h"

namespace Norvane::Shapefile {

class ShapefileDataSourceWriter {
public:
    ShapefileDataSourceWriter();
    // Drops changes not yet committed by Close.
    ~ShapefileDataSourceWriter();
    ShapefileDataSourceWriter(const ShapefileDataSourceWriter&) = delete;
    ShapefileDataSourceWriter& operator=(const ShapefileDataSourceWriter&) = delete;
    ShapefileDataSourceWriter(ShapefileDataSourceWriter&&) noexcept;
    ShapefileDataSourceWriter& operator=(ShapefileDataSourceWriter&&) noexcept;

    // True once open. FileNotFoundException naming a missing .shp, .shx or
    // .dbf; ApplicationException naming a damaged file or one that cannot be
    // staged for writing.
    bool OpenDataFile(const std::string& path);
    // Writes the changes into the user's files. ApplicationException naming
    // the file whose write failed, in which case no file was changed. The
    // writer is closed afterwards either way.
    void Close();
    // Closes without writing anything.
    void Discard();
    bool IsOpen() const;

    int ShapeType() const;
    int RecordCount() const;
    std::vector<std::string> GetFieldNames() const;
    // ArgumentException for a name or layout the file cannot take.
    void AddField(const DBFFieldInfo& info);

    // The cursor over existing records, moved in step with a reader; the
    // geometry and field writes below change the current record.
    void MoveReset();
    bool MoveNext();
    bool MoveTo(int index);
    int CurrentPosition() const;

    // A new record: the geometry and field writes between the two calls go
    // into it; fields not written stay null, and a record without geometry
    // holds a null shape. AddRecordEnd appends it.
    void AddRecordBegin();
    void AddRecordEnd();

    // ArgumentException for a shape the file's type cannot hold, for
    // coordinates that are not finite and for degenerate parts (see
    // shape_geometry.h); InvalidOperationException off the records.
    void WritePointGeometry(const Support::GeometryPoint& point);
    void WritePolylineGeometry(const Support::PointArray& points);
    void WritePolylineGeometry(const Support::PointArrayList& parts);
    void WritePolygonGeometry(const Support::PointArray& ring);
    void WritePolygonGeometry(const Support::PointArrayList& rings);
    // A point collection as the file's type takes it: one point, one
    // polyline part, one polygon ring or the points of a multipoint.
    void WriteGeometry(const Support::PointArray& points);
    // ArgumentException for a missing field or a value the field cannot hold.
    void WriteFieldData(const Support::FieldValue& value, const std::string& fieldName);

private:
    struct Impl;
    Impl& open() const;

    std::unique_ptr<Impl> m_impl;
};

}  // namespace Norvane::Shapefile
