#include "host/domain/inp/inp_document.h"

#include <algorithm>
#include <cstring>

#include "host/domain/inp/inp_text.h"

namespace Norvane::Domain {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The engine recognises a section by the first letters of its name.
InpSection SectionNamed(std::string_view header) {
    struct Key {
        std::string_view prefix;
        InpSection kind;
    };
    static constexpr Key keys[] = {
        {"TITL", InpSection::Title},       {"JUNC", InpSection::Junctions},   {"RESE", InpSection::Reservoirs},
        {"TANK", InpSection::Tanks},       {"PIPE", InpSection::Pipes},       {"PUMP", InpSection::Pumps},
        {"VALV", InpSection::Valves},      {"DEMA", InpSection::Demands},     {"STAT", InpSection::Status},
        {"PATT", InpSection::Patterns},    {"OPTI", InpSection::Options},     {"COOR", InpSection::Coordinates},
        {"VERT", InpSection::Vertices},    {"END", InpSection::End},          {"CONT", InpSection::OtherKnown},
        {"RULE", InpSection::OtherKnown},  {"SOUR", InpSection::OtherKnown},  {"EMIT", InpSection::OtherKnown},
        {"CURV", InpSection::OtherKnown},  {"QUAL", InpSection::OtherKnown},  {"ROUG", InpSection::OtherKnown},
        {"ENER", InpSection::OtherKnown},  {"REAC", InpSection::OtherKnown},  {"MIXI", InpSection::OtherKnown},
        {"REPO", InpSection::OtherKnown},  {"TIME", InpSection::OtherKnown},  {"LABE", InpSection::OtherKnown},
        {"BACK", InpSection::OtherKnown},  {"TAGS", InpSection::OtherKnown},  {"LEAK", InpSection::OtherKnown},
    };
    const std::string_view name = header.substr(1);
    for (const Key& key : keys)
        if (name.size() >= key.prefix.size() && EqualsIgnoreCase(name.substr(0, key.prefix.size()), key.prefix))
            return key.kind;
    return InpSection::Unknown;
}

}  // namespace

InpDocument::InpDocument(std::string text) : m_text(std::move(text)) {
    SplitLines();
    FindSections();
}

void InpDocument::SplitLines() {
    std::size_t begin = m_text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    const char* data = m_text.data();
    while (begin < m_text.size()) {
        m_lineStarts.push_back(begin);
        const void* newline = std::memchr(data + begin, '\n', m_text.size() - begin);
        begin = newline == nullptr ? m_text.size() : static_cast<std::size_t>(static_cast<const char*>(newline) - data) + 1;
    }
    m_lineStarts.push_back(m_text.size());
    const std::size_t firstNewline = m_text.find('\n');
    if (firstNewline != std::string::npos && firstNewline > 0 && m_text[firstNewline - 1] == '\r') m_lineEnding = "\r\n";
}

std::string_view InpDocument::Line(std::size_t index) const {
    std::size_t end = m_lineStarts[index + 1];
    if (end > m_lineStarts[index] && m_text[end - 1] == '\n') --end;
    if (end > m_lineStarts[index] && m_text[end - 1] == '\r') --end;
    return std::string_view(m_text).substr(m_lineStarts[index], end - m_lineStarts[index]);
}

void InpDocument::FindSections() {
    m_sections.push_back({InpSection::Preamble, {}, 0, 0, LineCount()});
    for (std::size_t i = 0; i < LineCount(); ++i) {
        const std::string_view line = TrimBlanks(Line(i));
        if (!line.starts_with('[')) continue;
        const InpSection kind = SectionNamed(line);
        m_sections.back().endLine = i;
        m_sections.push_back({kind, line, i, i + 1, LineCount()});
        if (kind == InpSection::End) break;  // the engine reads nothing after [END]
    }
}

std::string InpDocument::Render(const InpEdits& edits) const {
    if (edits.empty()) return m_text;
    std::string out;
    out.reserve(m_text.size() + m_text.size() / 8);
    std::size_t copied = 0;
    auto copyUpTo = [&](std::size_t offset) {
        out.append(m_text, copied, offset - copied);
        copied = offset;
    };
    auto replaced = edits.replaced.begin();
    auto inserted = edits.insertedBefore.begin();
    while (replaced != edits.replaced.end() || inserted != edits.insertedBefore.end()) {
        const bool insertNext = inserted != edits.insertedBefore.end() &&
                                (replaced == edits.replaced.end() || inserted->first <= replaced->first);
        const std::size_t line = std::min(insertNext ? inserted->first : replaced->first, LineCount());
        copyUpTo(LineBegin(line));
        if (insertNext) {
            if (!out.empty() && out.back() != '\n') out += m_lineEnding;  // the last line had no ending
            for (const std::string& text : inserted->second) out.append(text).append(m_lineEnding);
            ++inserted;
            continue;
        }
        if (line < LineCount()) {
            const std::string_view original = Line(line);
            if (replaced->second)
                out.append(*replaced->second)
                    .append(std::string_view(m_text).substr(LineBegin(line) + original.size(),
                                                            LineBegin(line + 1) - LineBegin(line) - original.size()));
            copied = LineBegin(line + 1);
        }
        ++replaced;
    }
    copyUpTo(m_text.size());
    return out;
}

}  // namespace Norvane::Domain
