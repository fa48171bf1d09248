// The text of a network (.inp) file as loaded: its bytes, untouched, with a
// table of lines and sections over them. Changes are laid over the text as
// line edits when it is written out, so every line nobody edits keeps its
// exact bytes (line endings, blanks, comments, byte-order mark).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Norvane::Domain {

enum class InpSection {
    Preamble,  // lines before the first section header
    Title, Junctions, Reservoirs, Tanks, Pipes, Pumps, Valves, Demands, Status, Patterns, Options, Coordinates,
    Vertices,
    OtherKnown,  // a section the engine knows and the model does not read
    Unknown,     // kept as it is, never read
    End,         // [END] and everything after it, which the engine ignores
};

struct InpSectionRange {
    InpSection kind = InpSection::Preamble;
    std::string_view header;    // the header line's text, e.g. "[JUNCTIONS]"
    std::size_t headerLine = 0; // line index of the header (Preamble: 0, no header)
    std::size_t firstLine = 0;  // data lines [firstLine, endLine)
    std::size_t endLine = 0;
};

// Edits by line index of the loaded text: replacement text (nullopt deletes
// the line) and new lines to write before a line (index LineCount() for the
// end of the file). New lines take the file's first line ending.
struct InpEdits {
    std::map<std::size_t, std::optional<std::string>> replaced;
    std::map<std::size_t, std::vector<std::string>> insertedBefore;

    bool empty() const { return replaced.empty() && insertedBefore.empty(); }
};

class InpDocument {
public:
    explicit InpDocument(std::string text);

    const std::string& Text() const { return m_text; }
    std::size_t LineCount() const { return m_lineStarts.size() - 1; }
    // The line's text without its ending (and without a leading byte-order mark).
    std::string_view Line(std::size_t index) const;
    const std::vector<InpSectionRange>& Sections() const { return m_sections; }

    std::string Render(const InpEdits& edits) const;

private:
    void SplitLines();
    void FindSections();
    std::size_t LineBegin(std::size_t index) const { return m_lineStarts[index]; }

    std::string m_text;
    std::vector<std::size_t> m_lineStarts;  // one per line, then the text's size
    std::vector<InpSectionRange> m_sections;
    std::string_view m_lineEnding = "\n";
};

}  // namespace Norvane::Domain
