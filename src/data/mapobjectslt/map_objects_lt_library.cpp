#include "data/mapobjectslt/map_objects_lt_library.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "data/resources/embedded_resources.h"
#include "host/support/exceptions.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {
namespace {

using Norvane::Domain::DomainElementShapeType;
using Support::ApplicationException;

constexpr std::size_t kChunkSize = 32768;
constexpr std::array<const char*, 3> kExtensions = {".shp", ".shx", ".dbf"};

const char* prototypeName(DomainElementShapeType shapeType) {
    switch (shapeType) {
    case DomainElementShapeType::Point: return "PointPrototype";
    case DomainElementShapeType::Polyline: return "PolylinePrototype";
    case DomainElementShapeType::Polygon: return "PolygonPrototype";
    }
    throw Support::ArgumentException("Shape kind " + std::to_string(static_cast<int>(shapeType)) +
                                     " has no prototype shapefile.");
}

[[noreturn]] void failWrite(const std::string& fileName, int error) {
    throw ApplicationException("Could not write " + fileName + ": " + std::strerror(error) + ".");
}

// A file written beside its target and moved over it on commit; removed if
// never committed.
class StagedFile {
public:
    explicit StagedFile(std::string target) : m_target(std::move(target)), m_staged(m_target + ".partial") {}
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile() {
        if (!m_committed) std::remove(m_staged.c_str());
    }
    const std::string& staged() const { return m_staged; }
    void commit() {
        if (std::rename(m_staged.c_str(), m_target.c_str()) != 0) failWrite(m_target, errno);
        m_committed = true;
    }

private:
    std::string m_target;
    std::string m_staged;
    bool m_committed = false;
};

// Copies in fixed chunks until a chunk comes back short, as a stream copy
// would; the file is closed on every path.
void writeChunks(const std::string& fileName, const std::string& reportedName,
                 std::span<const std::uint8_t> stream) {
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (!file) failWrite(reportedName, errno);
    std::size_t offset = 0;
    for (;;) {
        const std::size_t chunk = std::min(kChunkSize, stream.size() - offset);
        if (chunk > 0 && std::fwrite(stream.data() + offset, 1, chunk, file) != chunk) {
            const int error = errno;
            std::fclose(file);
            failWrite(reportedName, error);
        }
        offset += chunk;
        if (chunk < kChunkSize) break;
    }
    if (std::fflush(file) != 0 || std::ferror(file)) {
        const int error = errno;
        std::fclose(file);
        failWrite(reportedName, error);
    }
    if (std::fclose(file) != 0) failWrite(reportedName, errno);
}

}  // namespace

DomainElementShapeType MapObjectsLTLibrary::GetShapeType(int geometryType) {
    switch (geometryType) {
    case 1: case 11: case 21: return DomainElementShapeType::Point;
    case 3: case 8: case 13: case 23: return DomainElementShapeType::Polyline;
    case 5: case 15: case 25: return DomainElementShapeType::Polygon;
    default:
        throw Support::IndexOutOfRangeException("Shape type " + std::to_string(geometryType) +
                                                " is not a point, polyline or polygon type.");
    }
}

Norvane::Shapefile::DBFFieldType MapObjectsLTLibrary::GetDBFFieldType(Support::FieldDataType type) {
    using Norvane::Shapefile::DBFFieldType;
    switch (type) {
    case Support::FieldDataType::Integer: return DBFFieldType::Integer;
    case Support::FieldDataType::Real: return DBFFieldType::Double;
    case Support::FieldDataType::Text: return DBFFieldType::Text;
    case Support::FieldDataType::LongText: return DBFFieldType::LongText;
    case Support::FieldDataType::Date: return DBFFieldType::Date;
    case Support::FieldDataType::Boolean: return DBFFieldType::Logical;
    }
    throw Support::IndexOutOfRangeException("Field type " + std::to_string(static_cast<int>(type)) +
                                            " has no shapefile field type.");
}

void MapObjectsLTLibrary::CreateFileOnDisk(const std::string& fileName, std::span<const std::uint8_t> stream) {
    StagedFile file(fileName);
    writeChunks(file.staged(), fileName, stream);
    file.commit();
}

void MapObjectsLTLibrary::CreateShapefile(const std::string& basePath, DomainElementShapeType shapeType) {
    const std::string prototype = prototypeName(shapeType);
    std::array<std::optional<StagedFile>, kExtensions.size()> files;
    for (std::size_t i = 0; i < kExtensions.size(); ++i) {
        const auto bytes = Resources::EmbeddedResource(prototype + kExtensions[i]);
        files[i].emplace(basePath + kExtensions[i]);
        writeChunks(files[i]->staged(), basePath + kExtensions[i], *bytes);
    }
    for (auto& file : files) file->commit();
}

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
