#include "host/shapefile/shape_table.h"

#include "host/shapefile/byte_order.h"
#include "host/shapefile/shapelib_hooks.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr std::size_t kHeaderSize = 100;
constexpr std::uint32_t kFileCode = 9994;

// Bytes of a record's content before its first point: type and box (36),
// then the counts; point records hold x and y after the type.
constexpr std::uint64_t kPartsHeader = 44;
constexpr std::uint64_t kMultiPointHeader = 40;

std::string shapeName(const std::string& name, const char* extension) { return name + "." + extension; }

std::string recordName(int record) { return "record " + std::to_string(record + 1); }

bool isKnownType(int type) {
    switch (type) {
    case 0: case 1: case 3: case 5: case 8: case 11: case 13: case 15: case 18: case 21: case 23: case 25: case 28:
        return true;
    default: return false;
    }
}

// The file length in bytes that the header gives; ApplicationException when
// the header is no shapefile header or claims more bytes than there are.
std::uint64_t checkHeader(std::span<const unsigned char> file, const std::string& fileName) {
    if (file.size() < kHeaderSize)
        throw Support::ApplicationException(fileName + " is not a shapefile: it holds only " + std::to_string(file.size()) +
                                            " bytes.");
    if (BigEndian32(file.data()) != kFileCode)
        throw Support::ApplicationException(fileName + " is not a shapefile: its file code is not 9994.");
    const std::uint64_t length = std::uint64_t{BigEndian32(file.data() + 24)} * 2;
    if (length < kHeaderSize || length > file.size())
        throw Support::ApplicationException(fileName + " is damaged: its header gives a length of " + std::to_string(length) +
                                            " bytes but the file holds " + std::to_string(file.size()) + ".");
    return length;
}

}  // namespace

int ShapeFamily(int shapeType) {
    switch (shapeType) {
    case 1: case 11: case 21: return 1;
    case 3: case 13: case 23: return 3;
    case 5: case 15: case 25: return 5;
    case 8: case 18: case 28: return 8;
    default: return 0;
    }
}

bool HasZ(int shapeType) { return shapeType >= 11 && shapeType <= 18; }

ShapeTable::ShapeTable(std::span<const unsigned char> shp, std::span<const unsigned char> shx, const std::string& name)
    : m_shp(shp), m_shpName(shapeName(name, "shp")) {
    const std::uint64_t shpLength = checkHeader(shp, m_shpName);
    checkHeader(shx, shapeName(name, "shx"));
    m_shapeType = LittleEndian32(shp.data() + 32);
    if (m_shapeType == 31) damaged("it holds MultiPatch shapes, which are not read");
    if (!isKnownType(m_shapeType)) damaged("its shape type " + std::to_string(m_shapeType) + " is unknown");
    if (LittleEndian32(shx.data() + 32) != m_shapeType)
        throw Support::ApplicationException(shapeName(name, "shx") + " does not match " + m_shpName +
                                            ": their shape types differ.");
    checkRecords(shx, shpLength);

    m_files.Add("shp", shp.first(shpLength));
    m_files.Add("shx", shx);
    ProviderHooks hooks = HooksFor(m_files);
    m_handle = SHPOpenLL(hooks.name.c_str(), "rb", &hooks.hooks);
    if (m_handle && m_handle->nRecords != RecordCount()) {
        SHPClose(m_handle);
        m_handle = nullptr;
    }
    if (!m_handle) damaged("shapelib cannot open it");
    SHPSetFastModeReadObject(m_handle, 1);
}

ShapeTable::~ShapeTable() {
    SHPDestroyObject(m_current);
    if (m_handle) SHPClose(m_handle);
}

void ShapeTable::damaged(const std::string& what) const {
    throw Support::ApplicationException(m_shpName + " is damaged: " + what + ".");
}

void ShapeTable::checkRecords(std::span<const unsigned char> shx, std::uint64_t shpLength) {
    const std::uint64_t count = (std::uint64_t{BigEndian32(shx.data() + 24)} * 2 - kHeaderSize) / 8;
    m_records.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const unsigned char* entry = shx.data() + kHeaderSize + 8 * i;
        const std::uint64_t offset = std::uint64_t{BigEndian32(entry)} * 2;
        const std::uint64_t length = std::uint64_t{BigEndian32(entry + 4)} * 2;
        if (offset < kHeaderSize || offset + 8 + length > shpLength)
            damaged(recordName(static_cast<int>(i)) + " lies past the end of the file, as its .shx gives it");
        if (std::uint64_t{BigEndian32(m_shp.data() + offset + 4)} * 2 != length)
            damaged(recordName(static_cast<int>(i)) + " has a different length in the .shx");
        const Span span{static_cast<std::uint32_t>(offset + 8), static_cast<std::uint32_t>(length)};
        checkContent(static_cast<int>(i), span);
        m_records.push_back(span);
    }
}

void ShapeTable::checkContent(int record, Span span) const {
    const unsigned char* content = m_shp.data() + span.offset;
    const auto name = [record] { return recordName(record); };
    if (span.length < 4) damaged(name() + " has no shape type");
    const int type = LittleEndian32(content);
    if (type == 0) return;
    if (ShapeFamily(type) != ShapeFamily(m_shapeType))
        damaged(name() + " holds shape type " + std::to_string(type) + " in a file of type " + std::to_string(m_shapeType));
    const bool zOrM = HasZ(type) || type == 21;
    if (ShapeFamily(type) == 1) {
        if (span.length < 20u + (zOrM ? 8u : 0u)) damaged(name() + " is too short for a point");
        return;
    }
    const bool multiPoint = ShapeFamily(type) == 8;
    const std::uint64_t fixed = multiPoint ? kMultiPointHeader : kPartsHeader;
    if (span.length < fixed) damaged(name() + " is too short for its shape type");
    const std::int32_t parts = multiPoint ? 0 : LittleEndian32(content + 36);
    const std::int32_t points = LittleEndian32(content + (multiPoint ? 36 : 40));
    if (parts < 0 || points < 0) damaged(name() + " has a negative count of parts or points");
    const std::uint64_t n = static_cast<std::uint64_t>(points);
    const std::uint64_t needed = fixed + 4 * static_cast<std::uint64_t>(parts) + 16 * n + (HasZ(type) ? 16 + 8 * n : 0);
    if (needed > span.length)
        damaged(name() + " claims " + std::to_string(parts) + " parts and " + std::to_string(points) + " points but holds " +
                std::to_string(span.length) + " bytes");
    if (multiPoint || points == 0) return;
    if (parts == 0) damaged(name() + " has points but no parts");
    std::int32_t previous = -1;
    for (std::int32_t i = 0; i < parts; ++i) {
        const std::int32_t start = LittleEndian32(content + kPartsHeader + 4 * static_cast<std::uint64_t>(i));
        if ((i == 0 && start != 0) || start <= previous || start >= points)
            damaged(name() + " has a part that starts outside its points");
        previous = start;
    }
}

int ShapeTable::RecordShapeType(int record) const {
    return LittleEndian32(m_shp.data() + m_records[static_cast<std::size_t>(record)].offset);
}

RecordBox ShapeTable::Box(int record) const {
    const unsigned char* content = m_shp.data() + m_records[static_cast<std::size_t>(record)].offset;
    const int type = LittleEndian32(content);
    if (type == 0) return {};
    if (ShapeFamily(type) == 1) {
        const double x = LittleEndianDouble(content + 4);
        const double y = LittleEndianDouble(content + 12);
        return {x, y, x, y};
    }
    return {LittleEndianDouble(content + 4), LittleEndianDouble(content + 12), LittleEndianDouble(content + 20),
            LittleEndianDouble(content + 28)};
}

std::vector<RecordBox> ShapeTable::Boxes() const {
    std::vector<RecordBox> boxes;
    boxes.reserve(m_records.size());
    for (int i = 0; i < RecordCount(); ++i) boxes.push_back(Box(i));
    return boxes;
}

const SHPObject* ShapeTable::Read(int record) {
    const unsigned char* content = m_shp.data() + m_records[static_cast<std::size_t>(record)].offset;
    const int type = LittleEndian32(content);
    if (type == 0) return nullptr;
    const int family = ShapeFamily(type);
    if (family != 1 && LittleEndian32(content + (family == 8 ? 36 : 40)) == 0) return nullptr;
    SHPDestroyObject(m_current);  // in fast mode this hands the shared object back to the handle
    m_current = SHPReadObject(m_handle, record);
    if (!m_current) damaged("shapelib cannot read record " + std::to_string(record + 1));
    return m_current->nSHPType == SHPT_NULL ? nullptr : m_current;
}

}  // namespace Norvane::Shapefile::Detail
