#include "allocate/writers/csv_tables.h"

#include "allocate/number_text.h"

namespace Allotrix::Allocate {
namespace {

// "meters" -> "meter"
std::string singular(const std::string& noun) { return noun.substr(0, noun.size() - 1); }

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void WriteNodeTable(std::ostream& out, const std::vector<NodeDemandChange>& changes, const AllocationResult& result) {
    out << "node_id,demand_before,allocated,demand_after," << singular(result.sourceNoun) << "_count\n";
    for (const NodeDemandChange& change : changes)
        out << CsvField(change.label) << ',' << ShortestText(change.before) << ','
            << result.scale.Format(change.allocatedUnits) << ',' << ShortestText(change.after) << ',' << change.sources
            << '\n';
}

void WriteUnallocatedTable(std::ostream& out, const AllocationResult& result) {
    out << singular(result.sourceNoun) << "_id,reason,demand,detail\n";
    for (const UnallocatedItem& item : result.unallocated)
        out << CsvField(item.sourceId) << ',' << ReasonKey(item.reason) << ',' << result.scale.Format(item.units) << ','
            << CsvField(item.detail) << '\n';
}

}  // namespace Allotrix::Allocate
