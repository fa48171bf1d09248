#include "host/shapefile/shapefile_data_source_writer.h"

#include <cmath>
#include <cstring>

#include "host/shapefile/dbf_field_definition.h"
#include "host/shapefile/dbf_value_codec.h"
#include "host/shapefile/record_appender.h"
#include "host/shapefile/record_cursor.h"
#include "host/shapefile/shape_geometry.h"
#include "host/shapefile/shapefile_tables.h"
#include "host/shapefile/staged_edit.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile {

using Detail::ShapeFamily;
using Support::GeometryPoint;
using Support::PointArray;
using Support::PointArrayList;

namespace {

constexpr std::string_view kUtf8CodePage = "UTF-8";

// The x-y extent of every shape the file will hold, for its header.
struct Extent {
    RecordBox box;

    void Add(const RecordBox& more) {
        if (more.IsEmpty()) return;
        box = {std::fmin(box.XMin, more.XMin), std::fmin(box.YMin, more.YMin), std::fmax(box.XMax, more.XMax),
               std::fmax(box.YMax, more.YMax)};
    }
};

// An empty file gets its text in UTF-8; one with records keeps its code page,
// so that old and new text read alike.
std::string codePageFor(const ShapefileImages& images, int recordCount) {
    if (recordCount == 0) return std::string(kUtf8CodePage);
    return CodePageOf(images.cpg, Detail::LanguageDriverOf(images.dbf));
}

}  // namespace

struct ShapefileDataSourceWriter::Impl {
    explicit Impl(const std::string& path) : paths(FindShapefileFiles(path)), dbfName(paths.base + ".dbf") {
        const ShapefileImages images = ReadShapefileImages(paths);
        int recordCount = 0;
        {
            // Checked as a reader checks it, so that shapelib edits only sound files.
            const Detail::ShapefileTables tables(images);
            for (const RecordBox& box : tables.shapes.Boxes()) extent.Add(box);
            recordCount = tables.shapes.RecordCount();
        }
        codePage = codePageFor(images, recordCount);
        encoder = TextEncoder(codePage);
        writeCpg = codePage == kUtf8CodePage && (!images.cpg || CodePageOf(images.cpg, 0) != kUtf8CodePage);
        edit.Stage("shp", paths.shp, images.shp);
        edit.Stage("shx", paths.shx, images.shx);
        edit.Stage("dbf", paths.dbf, images.dbf);
        openHandles();
        shapeType = shp->nShapeType;
        try {
            refreshFields();
        } catch (...) {
            closeHandles();
            throw;
        }
    }

    ~Impl() { closeHandles(); }

    void openHandles() {
        Detail::ProviderHooks hooks = edit.Hooks();
        shp = SHPOpenLL(hooks.name.c_str(), "rb+", &hooks.hooks);
        dbf = DBFOpenLL(hooks.name.c_str(), "rb+", &hooks.hooks);
        if (shp && dbf) return;
        closeHandles();
        edit.ThrowIfFailed();
        throw Support::ApplicationException("Could not open " + paths.shp + " for writing.");
    }

    void closeHandles() {
        if (shp) SHPClose(shp);
        if (dbf) DBFClose(dbf);
        shp = nullptr;
        dbf = nullptr;
    }

    void refreshFields() {
        fields = Detail::DbfFieldTable(dbf, TextDecoder(codePage), dbfName);
        blankRecord.assign(static_cast<std::size_t>(fields.RecordLength()), ' ');
        for (const Detail::DbfField& field : fields.Fields())
            Detail::FormatDbfValue(field, {}, encoder, dbfName, bytesOf(blankRecord, field));
    }

    static std::span<char> bytesOf(std::string& record, const Detail::DbfField& field) {
        return std::span(record).subspan(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.width));
    }

    int recordCount() const { return appender ? appender->RecordCount() : shp->nRecords; }

    // New records of the plain shape types bypass shapelib (see
    // record_appender.h); the handles are closed meanwhile and reopened
    // when shapelib is needed again.
    void appendDirectly(const Detail::FlatShape& shape) {
        if (!appender) {
            const Detail::AppendStart start{shp->nRecords, shp->nFileSize, dbf->nHeaderLength, dbf->nRecordLength};
            setHeaderExtent();
            closeHandles();
            edit.ThrowIfFailed();
            appender = std::make_unique<Detail::RecordAppender>(edit, start, paths.shp, fields.Fields());
        }
        appender->Append(shape, record);
    }

    // Text fields are fitted to their values only when the writer closes:
    // records added after shapelib's turn must fit the declared widths.
    void finishAppending(bool closing) {
        if (!appender) return;
        const std::unique_ptr<Detail::RecordAppender> finishing = std::move(appender);
        finishing->Finish(extent.box, closing);
        edit.ThrowIfFailed();
    }

    void useShapelib() {
        if (!appender) return;
        finishAppending(false);
        openHandles();
    }

    int currentRecord() const {
        if (!cursor.OnRecord(recordCount()))
            throw Support::InvalidOperationException("The shapefile writer is not on a record of " + paths.shp + ".");
        return cursor.position;
    }

    // The shape just checked into `checked` becomes the new record's, or the
    // current record's.
    void writeCheckedShape() {
        if (adding) {
            std::swap(pending, checked);
            return;
        }
        useShapelib();
        if (SHPWriteObject(shp, currentRecord(), Detail::ShapeObjectOf(checked).get()) < 0) failed();
        addToExtent(checked);
        edit.ThrowIfFailed();
    }

    void addToExtent(const Detail::FlatShape& shape) {
        changedShapes = true;
        extent.Add(shape.Box());
    }

    void requireFamily(std::initializer_list<int> families, const char* what) const {
        for (const int family : families)
            if (ShapeFamily(shapeType) == family) return;
        throw Support::ArgumentException("Cannot write " + std::string(what) + " to " + paths.shp + ": it holds shape type " +
                                         std::to_string(shapeType) + ".");
    }

    [[noreturn]] void failed() const {
        edit.ThrowIfFailed();
        throw Support::ApplicationException("Could not write " + paths.shp + ".");
    }

    // The header's box covers every shape; shapelib would keep the empty
    // prototype's box (0, 0, -1, -1) in it when the first shape is null.
    void setHeaderExtent() {
        if (!changedShapes) return;
        const RecordBox& box = extent.box;
        const bool any = !box.IsEmpty();
        shp->adBoundsMin[0] = any ? box.XMin : 0.0;
        shp->adBoundsMin[1] = any ? box.YMin : 0.0;
        shp->adBoundsMax[0] = any ? box.XMax : 0.0;
        shp->adBoundsMax[1] = any ? box.YMax : 0.0;
        shp->bUpdated = 1;
    }

    ShapefilePaths paths;
    std::string dbfName;
    Detail::StagedEdit edit;  // outlives the handles, which write through it
    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;
    int shapeType = SHPT_NULL;
    std::unique_ptr<Detail::RecordAppender> appender;  // while records are appended directly
    std::string codePage;
    TextEncoder encoder{std::string(kUtf8CodePage)};
    bool writeCpg = false;
    Detail::DbfFieldTable fields;
    std::string blankRecord;
    Extent extent;
    bool changedShapes = false;
    Detail::RecordCursor cursor;
    bool adding = false;
    std::string record;    // the new record's attributes while adding
    // The new record's shape while adding, and a shape being checked: one
    // that is refused leaves the pending one as it was. Both are refilled
    // for every record.
    Detail::FlatShape pending, checked;
};

ShapefileDataSourceWriter::ShapefileDataSourceWriter() = default;
ShapefileDataSourceWriter::~ShapefileDataSourceWriter() = default;
ShapefileDataSourceWriter::ShapefileDataSourceWriter(ShapefileDataSourceWriter&&) noexcept = default;
ShapefileDataSourceWriter& ShapefileDataSourceWriter::operator=(ShapefileDataSourceWriter&&) noexcept = default;

bool ShapefileDataSourceWriter::OpenDataFile(const std::string& path) {
    Discard();
    m_impl = std::make_unique<Impl>(path);
    return true;
}

void ShapefileDataSourceWriter::Close() {
    if (!m_impl) return;
    const std::unique_ptr<Impl> impl = std::move(m_impl);  // closed whatever happens
    if (impl->appender) {
        impl->finishAppending(true);
    } else {
        impl->setHeaderExtent();
        impl->closeHandles();
    }
    if (impl->writeCpg) {
        const std::string target = impl->paths.cpg.value_or(impl->paths.base + ".cpg");
        impl->edit.Stage("cpg", target, std::span(reinterpret_cast<const unsigned char*>(kUtf8CodePage.data()), kUtf8CodePage.size()));
    }
    impl->edit.Commit();
}

void ShapefileDataSourceWriter::Discard() { m_impl.reset(); }

bool ShapefileDataSourceWriter::IsOpen() const { return m_impl != nullptr; }

ShapefileDataSourceWriter::Impl& ShapefileDataSourceWriter::open() const {
    if (!m_impl) throw Support::InvalidOperationException("The shapefile writer is not open.");
    return *m_impl;
}

int ShapefileDataSourceWriter::ShapeType() const { return open().shapeType; }

int ShapefileDataSourceWriter::RecordCount() const { return open().recordCount(); }

std::vector<std::string> ShapefileDataSourceWriter::GetFieldNames() const {
    return open().fields.Names();
}

void ShapefileDataSourceWriter::AddField(const DBFFieldInfo& info) {
    Impl& impl = open();
    if (impl.adding) throw Support::InvalidOperationException("Fields cannot be added while a record is being added.");
    impl.useShapelib();
    Detail::AddDbfField(impl.dbf, info, impl.fields, impl.dbfName);
    impl.edit.ThrowIfFailed();
    impl.refreshFields();
}

void ShapefileDataSourceWriter::MoveReset() { open().cursor.Reset(); }

bool ShapefileDataSourceWriter::MoveNext() { return open().cursor.Next(RecordCount()); }

bool ShapefileDataSourceWriter::MoveTo(int index) { return open().cursor.To(index, RecordCount()); }

int ShapefileDataSourceWriter::CurrentPosition() const { return open().cursor.position; }

void ShapefileDataSourceWriter::AddRecordBegin() {
    Impl& impl = open();
    if (impl.adding) throw Support::InvalidOperationException("AddRecordBegin was called twice without AddRecordEnd.");
    impl.adding = true;
    impl.record = impl.blankRecord;
    impl.pending.Clear();
}

void ShapefileDataSourceWriter::AddRecordEnd() {
    Impl& impl = open();
    if (!impl.adding) throw Support::InvalidOperationException("AddRecordEnd was called without AddRecordBegin.");
    impl.adding = false;
    if (Detail::RecordAppender::Takes(impl.shapeType)) {
        impl.appendDirectly(impl.pending);
    } else {
        const int index = SHPWriteObject(impl.shp, -1, Detail::ShapeObjectOf(impl.pending).get());
        if (index < 0 || !DBFWriteTuple(impl.dbf, index, impl.record.data())) impl.failed();
    }
    impl.addToExtent(impl.pending);
    impl.edit.ThrowIfFailed();
}

void ShapefileDataSourceWriter::WritePointGeometry(const GeometryPoint& point) {
    Impl& impl = open();
    impl.requireFamily({1, 8}, "a point");
    Detail::FlattenPoint(impl.checked, impl.shapeType, point, impl.paths.shp);
    impl.writeCheckedShape();
}

void ShapefileDataSourceWriter::WritePolylineGeometry(const PointArray& points) {
    Impl& impl = open();
    impl.requireFamily({3, 8}, "a polyline");
    Detail::FlattenParts(impl.checked, impl.shapeType, std::span(&points, 1), impl.paths.shp);
    impl.writeCheckedShape();
}

void ShapefileDataSourceWriter::WritePolylineGeometry(const PointArrayList& parts) {
    Impl& impl = open();
    impl.requireFamily({3, 8}, "a polyline");
    Detail::FlattenParts(impl.checked, impl.shapeType, parts, impl.paths.shp);
    impl.writeCheckedShape();
}

void ShapefileDataSourceWriter::WritePolygonGeometry(const PointArray& ring) {
    Impl& impl = open();
    impl.requireFamily({5}, "a polygon");
    Detail::FlattenParts(impl.checked, impl.shapeType, std::span(&ring, 1), impl.paths.shp);
    impl.writeCheckedShape();
}

void ShapefileDataSourceWriter::WritePolygonGeometry(const PointArrayList& rings) {
    Impl& impl = open();
    impl.requireFamily({5}, "a polygon");
    Detail::FlattenParts(impl.checked, impl.shapeType, rings, impl.paths.shp);
    impl.writeCheckedShape();
}

void ShapefileDataSourceWriter::WriteGeometry(const PointArray& points) {
    const int family = ShapeFamily(ShapeType());
    if (family == 1) {
        if (points.size() > 1) throw Support::ArgumentException("A point record takes one point, not " + std::to_string(points.size()) + ".");
        WritePointGeometry(points.empty() ? GeometryPoint::Empty() : points.front());
    } else if (family == 5) {
        WritePolygonGeometry(points);
    } else {
        WritePolylineGeometry(points);
    }
}

void ShapefileDataSourceWriter::WriteFieldData(const Support::FieldValue& value, const std::string& fieldName) {
    Impl& impl = open();
    const int index = impl.fields.IndexOf(fieldName);
    if (index < 0) throw Support::ArgumentException("No field \"" + fieldName + "\" in " + impl.dbfName + ".");
    const Detail::DbfField& field = impl.fields.Fields()[static_cast<std::size_t>(index)];
    if (impl.adding) {
        Detail::FormatDbfValue(field, value, impl.encoder, impl.dbfName, Impl::bytesOf(impl.record, field));
        return;
    }
    const int record = impl.currentRecord();
    impl.useShapelib();
    const char* stored = DBFReadTuple(impl.dbf, record);
    if (!stored) impl.failed();
    std::string changed(stored, static_cast<std::size_t>(impl.fields.RecordLength()));
    Detail::FormatDbfValue(field, value, impl.encoder, impl.dbfName, Impl::bytesOf(changed, field));
    if (!DBFWriteTuple(impl.dbf, record, changed.data())) impl.failed();
    impl.edit.ThrowIfFailed();
}

}  // namespace Norvane::Shapefile
