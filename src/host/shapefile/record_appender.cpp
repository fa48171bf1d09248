#include "host/shapefile/record_appender.h"

#include <shapefil.h>

#include <limits>

#include "host/shapefile/byte_order.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr std::uint64_t kShpHeaderLength = 100;
constexpr std::uint64_t kShxEntryLength = 8;
constexpr unsigned char kEndOfFile = 0x1A;
// Past this, held attribute records go to the file at their declared widths
// and the rest follow them there: memory stays bounded on any table, and
// fitting still covers a city's connectors (about 65 bytes each).
constexpr std::size_t kMostHeldBytes = std::size_t{256} << 20;

class Bytes {
public:
    explicit Bytes(std::vector<unsigned char>& out) : m_out(out) {}
    void Int(std::int32_t value) {
        unsigned char at[4];
        PutLittleEndian32(at, static_cast<std::uint32_t>(value));
        m_out.insert(m_out.end(), at, at + 4);
    }
    void Double(double value) {
        unsigned char at[8];
        PutLittleEndianDouble(at, value);
        m_out.insert(m_out.end(), at, at + 8);
    }

private:
    std::vector<unsigned char>& m_out;
};

void writeAt(HookStream& stream, std::uint64_t at, const unsigned char* bytes, std::size_t count) {
    stream.Seek(static_cast<std::int64_t>(at), SEEK_SET);
    stream.Write(bytes, count);
}

}  // namespace

bool RecordAppender::Takes(int shapeType) {
    return shapeType == SHPT_POINT || shapeType == SHPT_ARC || shapeType == SHPT_POLYGON || shapeType == SHPT_MULTIPOINT;
}

RecordAppender::RecordAppender(StreamProvider& files, const AppendStart& start, std::string shpName,
                               std::span<const DbfField> fields)
    : m_shpName(std::move(shpName)), m_shp(files.Open("shp", "rb+")), m_shx(files.Open("shx", "rb+")),
      m_dbf(files.Open("dbf", "rb+")), m_start(start), m_recordCount(start.recordCount), m_shpLength(start.shpLength) {
    if (!m_shp || !m_shx || !m_dbf) throw Support::ApplicationException("Could not open " + m_shpName + " for writing.");
    m_shp->Seek(static_cast<std::int64_t>(m_shpLength), SEEK_SET);
    m_shx->Seek(static_cast<std::int64_t>(kShpHeaderLength + kShxEntryLength * static_cast<std::uint64_t>(m_recordCount)),
                SEEK_SET);
    m_dbf->Seek(static_cast<std::int64_t>(start.dbfHeaderLength) +
                    static_cast<std::int64_t>(start.dbfRecordLength) * m_recordCount,
                SEEK_SET);
    if (m_recordCount == 0 && HeldRecords::Worthwhile(fields))
        m_held = std::make_unique<HeldRecords>(std::vector(fields.begin(), fields.end()), start.dbfRecordLength);
}

void RecordAppender::EncodeShape(const FlatShape& shape) {
    m_record.assign(8, 0);  // the record header, filled in below
    Bytes out(m_record);
    out.Int(shape.type);
    const int count = static_cast<int>(shape.x.size());
    if (shape.type == SHPT_POINT) {
        out.Double(shape.x[0]);
        out.Double(shape.y[0]);
    } else if (shape.type != SHPT_NULL) {
        const RecordBox box = shape.Box();
        for (const double side : {box.XMin, box.YMin, box.XMax, box.YMax}) out.Double(side);
        if (shape.type != SHPT_MULTIPOINT) out.Int(static_cast<int>(shape.starts.size()));
        out.Int(count);
        if (shape.type != SHPT_MULTIPOINT)
            for (const int start : shape.starts) out.Int(start);
        for (int i = 0; i < count; ++i) {
            out.Double(shape.x[static_cast<std::size_t>(i)]);
            out.Double(shape.y[static_cast<std::size_t>(i)]);
        }
    }
    PutBigEndian32(m_record.data(), static_cast<std::uint32_t>(m_recordCount + 1));
    PutBigEndian32(m_record.data() + 4, static_cast<std::uint32_t>((m_record.size() - 8) / 2));
}

void RecordAppender::Append(const FlatShape& shape, std::string_view attributes) {
    if (m_recordCount == std::numeric_limits<int>::max())
        throw Support::ApplicationException("Could not write " + m_shpName + ": it holds as many records as it can.");
    EncodeShape(shape);
    if (m_shpLength + m_record.size() > std::numeric_limits<std::uint32_t>::max())
        throw Support::ApplicationException("Could not write " + m_shpName + ": it would pass 4 GB.");
    unsigned char entry[kShxEntryLength];
    PutBigEndian32(entry, static_cast<std::uint32_t>(m_shpLength / 2));
    PutBigEndian32(entry + 4, static_cast<std::uint32_t>((m_record.size() - 8) / 2));
    m_shp->Write(m_record.data(), m_record.size());
    m_shx->Write(entry, sizeof entry);
    if (m_held && m_held->HeldBytes() > kMostHeldBytes) {
        m_held->WriteDeclared(*m_dbf);
        m_held.reset();
    }
    if (m_held)
        m_held->Hold(attributes);
    else
        m_dbf->Write(attributes.data(), attributes.size());
    m_shpLength += m_record.size();
    ++m_recordCount;
}

void RecordAppender::Finish(const RecordBox& extent, bool fitText) {
    if (m_held && fitText)
        m_held->WriteFitted(*m_dbf, m_start.dbfHeaderLength);
    else if (m_held)
        m_held->WriteDeclared(*m_dbf);
    m_dbf->Write(&kEndOfFile, 1);
    unsigned char word[4];
    PutLittleEndian32(word, static_cast<std::uint32_t>(m_recordCount));
    writeAt(*m_dbf, 4, word, 4);

    const bool any = !extent.IsEmpty();
    unsigned char box[32];
    PutLittleEndianDouble(box, any ? extent.XMin : 0.0);
    PutLittleEndianDouble(box + 8, any ? extent.YMin : 0.0);
    PutLittleEndianDouble(box + 16, any ? extent.XMax : 0.0);
    PutLittleEndianDouble(box + 24, any ? extent.YMax : 0.0);
    const std::uint64_t shxLength = kShpHeaderLength + kShxEntryLength * static_cast<std::uint64_t>(m_recordCount);
    for (const auto& [stream, length] : {std::pair{m_shp.get(), m_shpLength}, std::pair{m_shx.get(), shxLength}}) {
        PutBigEndian32(word, static_cast<std::uint32_t>(length / 2));
        writeAt(*stream, 24, word, 4);
        writeAt(*stream, 36, box, sizeof box);
    }
    for (HookStream* stream : {m_shp.get(), m_shx.get(), m_dbf.get()}) stream->Close();
}

}  // namespace Norvane::Shapefile::Detail
