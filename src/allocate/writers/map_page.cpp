#include "allocate/writers/map_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "allocate/number_text.h"
#include "host/domain/domain_model.h"
#include "host/domain/network_element_types.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DomainModel;
using Norvane::Domain::NetworkElementType;
using Norvane::Support::GeometryPoint;

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The drawing's extent and how finely to write coordinates: SVG's y runs
// down, so every y is written negated.
class Frame {
public:
    void Include(const GeometryPoint& p) {
        if (!p.IsFinite()) return;
        m_minX = std::min(m_minX, p.X), m_maxX = std::max(m_maxX, p.X);
        m_minY = std::min(m_minY, p.Y), m_maxY = std::max(m_maxY, p.Y);
    }
    void Finish() {
        if (m_minX > m_maxX) m_minX = m_minY = 0.0, m_maxX = m_maxY = 1.0;
        m_size = std::max({m_maxX - m_minX, m_maxY - m_minY, 1e-9});
        m_decimals = std::clamp(5 - static_cast<int>(std::floor(std::log10(m_size))), 0, 12);
        m_unitsPerOne = std::pow(10.0, m_decimals);
    }
    double Size() const { return m_size; }
    std::string ViewBox() const {
        const double margin = m_size * 0.03;
        return Number(m_minX - margin) + " " + Number(-m_maxY - margin) + " " + Number(m_maxX - m_minX + 2 * margin) +
               " " + Number(m_maxY - m_minY + 2 * margin);
    }
    std::string Number(double value) const { return FixedText(value, m_decimals); }
    // Coordinates appended to `text`, counted in units of the last decimal
    // when that is exact.
    void AppendX(std::string& text, double x) const { Append(text, x); }
    void AppendY(std::string& text, double y) const { Append(text, -y); }
    std::string X(double x) const {
        std::string text;
        Append(text, x);
        return text;
    }
    std::string Y(double y) const {
        std::string text;
        Append(text, -y);
        return text;
    }

private:
    void Append(std::string& text, double value) const {
        const double scaled = std::round(value * m_unitsPerOne);
        if (!(std::fabs(scaled) < 1e15)) {
            text += Number(value);
            return;
        }
        AppendDecimalUnits(text, static_cast<std::int64_t>(scaled), m_decimals);
    }

    double m_minX = HUGE_VAL, m_minY = HUGE_VAL, m_maxX = -HUGE_VAL, m_maxY = -HUGE_VAL;
    double m_size = 1.0;
    int m_decimals = 2;
    double m_unitsPerOne = 100.0;  // 10^m_decimals
};

// Text gathered in large pieces before it goes to the stream: one write per
// megabyte instead of several per element.
class ChunkedText {
public:
    explicit ChunkedText(std::ostream& out) : m_out(out) { m_text.reserve(kChunk + 4096); }
    ~ChunkedText() { Flush(); }
    ChunkedText(const ChunkedText&) = delete;
    ChunkedText& operator=(const ChunkedText&) = delete;

    std::string& Text() { return m_text; }
    // Called after each element.
    void ElementDone() {
        if (m_text.size() >= kChunk) Flush();
    }
    void Flush() {
        m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::ostream& m_out;
    std::string m_text;
};

void writeLinks(std::ostream& out, const DomainModel& model, const Frame& frame) {
    ChunkedText chunks(out);
    std::string& text = chunks.Text();
    text += "<g id=\"pipes\">\n";
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id) {
        if (!model.IsOfType(id, static_cast<int>(NetworkElementType::Link))) continue;
        const auto points = model.PointsOf(id);
        const auto finite = [](const GeometryPoint& p) { return p.IsFinite(); };
        if (points.size() < 2 || !std::all_of(points.begin(), points.end(), finite)) continue;
        text += "<path class=\"pipe\" d=\"M";
        for (const GeometryPoint& p : points) {
            text += ' ';
            frame.AppendX(text, p.X);
            text += ' ';
            frame.AppendY(text, p.Y);
        }
        text += "\"/>\n";
        chunks.ElementDone();
    }
    text += "</g>\n";
}

void writeConnectorsAndMeters(std::ostream& out, const AllocationResult& result, const Frame& frame) {
    ChunkedText chunks(out);
    std::string& text = chunks.Text();
    text += "<g id=\"connectors\">\n";
    const Connector* drawn = nullptr;
    for (const Connector& c : result.connectors) {
        if (!c.from.IsFinite() || !c.to.IsFinite()) continue;
        // A meter split between a pipe's two ends has two connectors along
        // one line; it is drawn once.
        if (drawn && drawn->from == c.from && drawn->to == c.to) continue;
        drawn = &c;
        text += "<line class=\"connector\" x1=\"";
        frame.AppendX(text, c.from.X);
        text += "\" y1=\"";
        frame.AppendY(text, c.from.Y);
        text += "\" x2=\"";
        frame.AppendX(text, c.to.X);
        text += "\" y2=\"";
        frame.AppendY(text, c.to.Y);
        text += "\"/>\n";
        chunks.ElementDone();
    }
    text += "</g>\n<g id=\"meters\">\n";
    const std::string radius = frame.Number(frame.Size() / 900.0);
    const std::string unallocatedRadius = frame.Number(frame.Size() / 300.0);
    for (const SourceMark& mark : result.marks) {
        if (!mark.where.IsFinite()) continue;
        text += mark.allocated ? "<circle class=\"meter\" cx=\"" : "<circle class=\"meter unallocated\" cx=\"";
        frame.AppendX(text, mark.where.X);
        text += "\" cy=\"";
        frame.AppendY(text, mark.where.Y);
        text += "\" r=\"";
        text += mark.allocated ? radius : unallocatedRadius;
        text += "\"/>\n";
        chunks.ElementDone();
    }
    text += "</g>\n";
}

void writeNodes(std::ostream& out, const AllocationResult& result, const DomainModel& model, const Frame& frame) {
    std::int64_t most = 1;
    for (const std::int32_t id : result.ledger.NodeIds()) most = std::max(most, result.ledger.Node(id)->units);
    const double small = frame.Size() / 700.0;
    out << "<g id=\"nodes\">\n";
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id) {
        if (!model.IsOfType(id, static_cast<int>(NetworkElementType::Node))) continue;
        const GeometryPoint p = model.PointOf(id);
        if (!p.IsFinite()) continue;
        const DemandLedger::NodeAccount* account = result.ledger.Node(id);
        const bool fed = account != nullptr;
        const double share = fed ? static_cast<double>(account->units) / static_cast<double>(most) : 0.0;
        out << "<circle class=\"" << (fed ? "node fed" : "node") << "\" cx=\"" << frame.X(p.X) << "\" cy=\""
            << frame.Y(p.Y) << "\" r=\"" << frame.Number(small * (fed ? 2.0 + 6.0 * std::sqrt(share) : 1.0)) << "\">";
        if (fed)
            out << "<title>" << escaped(model.FindElement(id)->Label()) << ": "
                << result.scale.Format(account->units) << "</title>";
        out << "</circle>\n";
    }
    out << "</g>\n";
}

constexpr const char* kStyle = R"(<style>
body { font-family: sans-serif; margin: 1em; color: #222; background: #fff; }
svg { width: 100%; height: 80vh; border: 1px solid #ccc; background: #fcfcf8; }
.pipe { fill: none; stroke: #4a78b5; stroke-width: 1.5; vector-effect: non-scaling-stroke; }
.connector { stroke: #e39b2d; stroke-width: 0.8; vector-effect: non-scaling-stroke; }
.meter { fill: #2e8b57; }
.meter.unallocated { fill: #d62728; stroke: #fff; stroke-width: 1; vector-effect: non-scaling-stroke; }
.node { fill: #7f7f7f; }
.node.fed { fill: #1f3f73; fill-opacity: 0.8; }
.legend span { display: inline-block; margin-right: 1.5em; }
.swatch { display: inline-block; width: 0.8em; height: 0.8em; margin-right: 0.3em; border-radius: 50%; }
</style>
)";

constexpr const char* kCountScript = R"(<script>
const drawn = (selector) => document.querySelectorAll(selector).length;
document.getElementById("drawn").textContent =
  "Drawn: " + drawn(".pipe") + " pipes, " + drawn(".node") + " nodes, " + drawn(".meter") + " meters (" +
  drawn(".meter.unallocated") + " unallocated), " + drawn(".connector") + " connectors.";
</script>
)";

}  // namespace

void WriteMapPage(std::ostream& out, const std::string& title, const AllocationResult& result, const DomainModel& model) {
    Frame frame;
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id)
        for (const GeometryPoint& p : model.IsOfType(id, static_cast<int>(NetworkElementType::Link))
                                          ? model.PointsOf(id)
                                          : Norvane::Support::PointArray{model.PointOf(id)})
            frame.Include(p);
    for (const SourceMark& mark : result.marks) frame.Include(mark.where);
    frame.Finish();

    const auto& ledger = result.ledger;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << escaped(title)
        << "</title>\n" << kStyle << "</head>\n<body>\n<h1>" << escaped(title) << "</h1>\n<p>"
        << ledger.SourcesRead() << ' ' << result.sourceNoun << ", demand in " << result.scale.Format(ledger.Input())
        << ", allocated " << result.scale.Format(ledger.Allocated()) << " to " << ledger.NodeCount()
        << " nodes, unallocated " << result.scale.Format(ledger.Unallocated()) << ".</p>\n"
        << "<p class=\"legend\"><span><i class=\"swatch\" style=\"background:#4a78b5\"></i>pipe</span>"
           "<span><i class=\"swatch\" style=\"background:#1f3f73\"></i>node, sized by allocated demand</span>"
           "<span><i class=\"swatch\" style=\"background:#2e8b57\"></i>meter</span>"
           "<span><i class=\"swatch\" style=\"background:#e39b2d\"></i>connector</span>"
           "<span><i class=\"swatch\" style=\"background:#d62728\"></i>unallocated</span></p>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << frame.ViewBox()
        << "\" preserveAspectRatio=\"xMidYMid meet\">\n";
    writeLinks(out, model, frame);
    writeConnectorsAndMeters(out, result, frame);
    writeNodes(out, result, model, frame);
    out << "</svg>\n<p id=\"drawn\"></p>\n" << kCountScript << "</body>\n</html>\n";
}

}  // namespace Allotrix::Allocate
