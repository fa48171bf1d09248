#include "host/shapefile/held_records.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "host/shapefile/byte_order.h"

namespace Norvane::Shapefile::Detail {
namespace {

constexpr std::int64_t kFirstFieldDescriptor = 32;
constexpr std::int64_t kFieldDescriptorLength = 32;
constexpr std::int64_t kWidthInDescriptor = 16;
constexpr std::int64_t kRecordLengthInHeader = 10;

bool isText(const DbfField& field) { return field.nativeType == 'C'; }

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool HeldRecords::Worthwhile(std::span<const DbfField> fields) {
    const bool anyText = std::any_of(fields.begin(), fields.end(), isText);
    const bool allFit = std::none_of(fields.begin(), fields.end(), [](const DbfField& f) { return isText(f) && f.width > 255; });
    return anyText && allFit;
}

HeldRecords::HeldRecords(std::vector<DbfField> fields, int recordLength)
    : m_fields(std::move(fields)), m_recordLength(recordLength), m_longest(m_fields.size(), 0) {}

// A held record: its deletion flag, then each field in order, a text field
// as a length byte and its text, any other field as stored.
void HeldRecords::Hold(std::string_view record) {
    if (m_blocks.empty() || kBlockSize - m_blockUsed.back() < static_cast<std::size_t>(m_recordLength) + m_fields.size()) {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        m_blockUsed.push_back(0);
    }
    char* out = m_blocks.back().get() + m_blockUsed.back();
    char* const begin = out;
    *out++ = record.front();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const DbfField& field = m_fields[i];
        std::string_view value = record.substr(static_cast<std::size_t>(field.offset), static_cast<std::size_t>(field.width));
        if (isText(field)) {
            value = withoutTrailingBlanks(value);
            m_longest[i] = std::max(m_longest[i], static_cast<int>(value.size()));
            *out++ = static_cast<char>(static_cast<unsigned char>(value.size()));
        }
        out = std::copy(value.begin(), value.end(), out);
    }
    m_blockUsed.back() += static_cast<std::size_t>(out - begin);
}

template <typename Visit>
void HeldRecords::ForEachRecord(Visit&& visit) const {
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        const char* at = m_blocks[b].get();
        const char* const end = at + m_blockUsed[b];
        while (at < end) {
            const char flag = *at++;
            visit(flag, at);  // advances `at` past the record
        }
    }
}

void HeldRecords::WriteDeclared(HookStream& dbf) const {
    std::string record(static_cast<std::size_t>(m_recordLength), ' ');
    ForEachRecord([&](char flag, const char*& at) {
        record[0] = flag;
        for (const DbfField& field : m_fields) {
            char* out = record.data() + field.offset;
            std::size_t length = static_cast<std::size_t>(field.width);
            if (isText(field)) length = static_cast<unsigned char>(*at++);
            std::copy_n(at, length, out);
            std::fill(out + length, out + field.width, ' ');
            at += length;
        }
        dbf.Write(record.data(), record.size());
    });
}

void HeldRecords::WriteFitted(HookStream& dbf, int headerLength) const {
    std::vector<int> widths(m_fields.size());
    int recordLength = 1;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        widths[i] = isText(m_fields[i]) ? std::max(m_longest[i], 1) : m_fields[i].width;
        recordLength += widths[i];
    }
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const unsigned char width = static_cast<unsigned char>(widths[i]);
        dbf.Seek(kFirstFieldDescriptor + kFieldDescriptorLength * static_cast<std::int64_t>(i) + kWidthInDescriptor, SEEK_SET);
        dbf.Write(&width, 1);
    }
    unsigned char length[2];
    PutLittleEndian16(length, static_cast<std::uint16_t>(recordLength));
    dbf.Seek(kRecordLengthInHeader, SEEK_SET);
    dbf.Write(length, sizeof length);

    dbf.Seek(headerLength, SEEK_SET);
    std::string record(static_cast<std::size_t>(recordLength), ' ');
    ForEachRecord([&](char flag, const char*& at) {
        record[0] = flag;
        char* out = record.data() + 1;
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            std::size_t length = static_cast<std::size_t>(m_fields[i].width);
            if (isText(m_fields[i])) length = static_cast<unsigned char>(*at++);
            std::copy_n(at, length, out);
            std::fill(out + length, out + widths[i], ' ');
            at += length;
            out += widths[i];
        }
        dbf.Write(record.data(), record.size());
    });
}

}  // namespace Norvane::Shapefile::Detail
