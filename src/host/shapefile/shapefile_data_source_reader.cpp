#include "host/shapefile/shapefile_data_source_reader.h"

#include "host/shapefile/projection_unit.h"
#include "host/shapefile/record_cursor.h"
#include "host/shapefile/shape_geometry.h"
#include "host/shapefile/shapefile_tables.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile {

using Support::FieldValue;
using Support::GeometryPoint;
using Support::PointArrayList;

struct ShapefileDataSourceReader::Impl {
    explicit Impl(ShapefileImages files)
        : images(std::move(files)),
          tables(images),
          unit(images.prj ? ParseProjectionLengthUnit(*images.prj) : Support::LengthUnit::Unknown) {}

    int field(const std::string& name) const {
        const int index = tables.attributes.Fields().IndexOf(name);
        if (index < 0) throw Support::ArgumentException("No field \"" + name + "\" in " + images.name + ".dbf.");
        return index;
    }

    // Loads the current record for reading field `index`.
    void loadFor(int index, int record) {
        if (index < 0 || index >= static_cast<int>(tables.attributes.Fields().Fields().size()))
            throw Support::ArgumentException("No field " + std::to_string(index) + " in " + images.name + ".dbf.");
        tables.attributes.Load(record);
    }

    ShapefileImages images;
    Detail::ShapefileTables tables;
    Support::LengthUnit unit;
    Detail::RecordCursor cursor;
};

ShapefileDataSourceReader::ShapefileDataSourceReader() = default;
ShapefileDataSourceReader::~ShapefileDataSourceReader() = default;
ShapefileDataSourceReader::ShapefileDataSourceReader(ShapefileDataSourceReader&&) noexcept = default;
ShapefileDataSourceReader& ShapefileDataSourceReader::operator=(ShapefileDataSourceReader&&) noexcept = default;

bool ShapefileDataSourceReader::OpenDataFile(const std::string& path) {
    Close();
    return OpenDataImages(ReadShapefileImages(FindShapefileFiles(path)));
}

bool ShapefileDataSourceReader::OpenDataImages(ShapefileImages images) {
    Close();
    m_impl = std::make_unique<Impl>(std::move(images));
    return true;
}

void ShapefileDataSourceReader::Close() { m_impl.reset(); }

bool ShapefileDataSourceReader::IsOpen() const { return m_impl != nullptr; }

ShapefileDataSourceReader::Impl& ShapefileDataSourceReader::open() const {
    if (!m_impl) throw Support::InvalidOperationException("The shapefile reader is not open.");
    return *m_impl;
}

int ShapefileDataSourceReader::currentRecord() const {
    Impl& impl = open();
    if (!impl.cursor.OnRecord(impl.tables.shapes.RecordCount()))
        throw Support::InvalidOperationException("The shapefile reader is not on a record of " + impl.images.name + ".shp.");
    return impl.cursor.position;
}

int ShapefileDataSourceReader::RecordCount() const { return open().tables.shapes.RecordCount(); }

void ShapefileDataSourceReader::MoveReset() { open().cursor.Reset(); }

bool ShapefileDataSourceReader::MoveNext() { return open().cursor.Next(RecordCount()); }

bool ShapefileDataSourceReader::MoveTo(int index) { return open().cursor.To(index, RecordCount()); }

int ShapefileDataSourceReader::CurrentPosition() const { return open().cursor.position; }

std::vector<std::string> ShapefileDataSourceReader::GetFieldNames() const {
    return open().tables.attributes.Fields().Names();
}

std::optional<FieldValueType> ShapefileDataSourceReader::GetFieldType(const std::string& name) const {
    const auto& fields = open().tables.attributes.Fields();
    const int index = fields.IndexOf(name);
    if (index < 0) return std::nullopt;
    return fields.Fields()[static_cast<std::size_t>(index)].valueType;
}

int ShapefileDataSourceReader::GetFieldIndex(const std::string& name) const { return open().tables.attributes.Fields().IndexOf(name); }

FieldValue ShapefileDataSourceReader::GetFieldValue(const std::string& name) { return GetFieldValue(open().field(name)); }

FieldValue ShapefileDataSourceReader::GetFieldValue(int fieldIndex) {
    open().loadFor(fieldIndex, currentRecord());
    return m_impl->tables.attributes.Value(fieldIndex);
}

std::string ShapefileDataSourceReader::GetFieldRawText(const std::string& name) {
    return GetFieldRawText(open().field(name));
}

std::string ShapefileDataSourceReader::GetFieldRawText(int fieldIndex) {
    open().loadFor(fieldIndex, currentRecord());
    return m_impl->tables.attributes.Text(fieldIndex);
}

int ShapefileDataSourceReader::ShapeType() const { return open().tables.shapes.ShapeType(); }

Support::GeometryObject ShapefileDataSourceReader::GetGeometry() {
    const SHPObject* shape = open().tables.shapes.Read(currentRecord());
    if (!shape) return {};
    switch (Detail::ShapeFamily(shape->nSHPType)) {
    case 1: return GeometryPoint{shape->padfX[0], shape->padfY[0]};
    case 8: return Detail::PartsOf(*shape).front();
    default: return Detail::PartsOf(*shape);
    }
}

GeometryPoint ShapefileDataSourceReader::GetPointGeometry() {
    Impl& impl = open();
    if (Detail::ShapeFamily(impl.tables.shapes.ShapeType()) != 1)
        throw Support::InvalidOperationException(impl.images.name + ".shp holds no points.");
    const SHPObject* shape = impl.tables.shapes.Read(currentRecord());
    return shape ? GeometryPoint{shape->padfX[0], shape->padfY[0]} : GeometryPoint::Empty();
}

PointArrayList ShapefileDataSourceReader::parts(const char* kind) {
    Impl& impl = open();
    if (Detail::ShapeFamily(impl.tables.shapes.ShapeType()) == 1)
        throw Support::InvalidOperationException(impl.images.name + ".shp holds points, not " + kind + ".");
    const SHPObject* shape = impl.tables.shapes.Read(currentRecord());
    return shape ? Detail::PartsOf(*shape) : PointArrayList{};
}

PointArrayList ShapefileDataSourceReader::GetPolylineGeometryNonJaggedArray() { return parts("polylines"); }

PointArrayList ShapefileDataSourceReader::GetPolygonGeometryNonJaggedArray() { return parts("polygons"); }

RecordBox ShapefileDataSourceReader::GetCurrentRecordBox() const { return open().tables.shapes.Box(currentRecord()); }

std::vector<RecordBox> ShapefileDataSourceReader::GetRecordBoxes() const { return open().tables.shapes.Boxes(); }

Support::LengthUnit ShapefileDataSourceReader::ProjectionLengthUnit() const { return open().unit; }

std::string ShapefileDataSourceReader::CodePage() const { return open().tables.attributes.CodePage(); }

}  // namespace Norvane::Shapefile
