#include "host/shapefile/dbf_table.h"

#include "host/shapefile/byte_order.h"
#include "host/shapefile/dbf_value_codec.h"
#include "host/shapefile/shapelib_hooks.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kLanguageDriverOffset = 29;

// The header's claims checked against the bytes there are, before shapelib
// trusts them.
void checkHeader(std::span<const unsigned char> dbf, const std::string& fileName) {
    if (dbf.size() < kHeaderSize + 1)
        throw Support::ApplicationException(fileName + " is not a dBASE file: it holds only " + std::to_string(dbf.size()) +
                                            " bytes.");
    const std::uint64_t records = static_cast<std::uint32_t>(LittleEndian32(dbf.data() + 4));
    const std::uint64_t headerLength = LittleEndian16(dbf.data() + 8);
    const std::uint64_t recordLength = LittleEndian16(dbf.data() + 10);
    if (headerLength < kHeaderSize + 1 || headerLength > dbf.size() || recordLength == 0)
        throw Support::ApplicationException(fileName + " is damaged: its header gives impossible lengths.");
    const std::uint64_t complete = (dbf.size() - headerLength) / recordLength;
    if (complete < records)
        throw Support::ApplicationException(fileName + " is damaged: its header counts " + std::to_string(records) +
                                            " records but the file holds " + std::to_string(complete) + ".");
}

}  // namespace

std::uint8_t LanguageDriverOf(std::span<const unsigned char> dbf) {
    return dbf.size() > kLanguageDriverOffset ? dbf[kLanguageDriverOffset] : 0;
}

DbfTable::DbfTable(std::span<const unsigned char> dbf, const std::string& fileName,
                   const std::optional<std::string>& cpgText)
    : m_fileName(fileName), m_codePage(CodePageOf(cpgText, LanguageDriverOf(dbf))), m_decoder(m_codePage) {
    checkHeader(dbf, fileName);
    m_files.Add("dbf", dbf);
    ProviderHooks hooks = HooksFor(m_files);
    m_handle = DBFOpenLL(hooks.name.c_str(), "rb", &hooks.hooks);
    if (!m_handle) throw Support::ApplicationException(fileName + " is damaged: shapelib cannot open it.");
    try {
        m_fields = DbfFieldTable(m_handle, m_decoder, fileName);
    } catch (...) {
        DBFClose(m_handle);
        throw;
    }
    m_recordCount = DBFGetRecordCount(m_handle);
}

DbfTable::~DbfTable() {
    if (m_handle) DBFClose(m_handle);
}

void DbfTable::Load(int record) {
    if (record == m_loaded) return;
    m_record = DBFReadTuple(m_handle, record);
    if (!m_record)
        throw Support::ApplicationException(m_fileName + " is damaged: record " + std::to_string(record + 1) +
                                            " cannot be read.");
    m_loaded = record;
}

std::string_view DbfTable::stored(int field) const {
    const DbfField& f = m_fields.Fields()[static_cast<std::size_t>(field)];
    return {m_record + f.offset, static_cast<std::size_t>(f.width)};
}

Support::FieldValue DbfTable::Value(int field) const {
    return ParseDbfValue(m_fields.Fields()[static_cast<std::size_t>(field)], stored(field), m_decoder);
}

std::string DbfTable::Text(int field) const { return m_decoder.Decode(TrimDbfText(stored(field))); }

}  // namespace Norvane::Shapefile::Detail
