#include "allocation_summary.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

namespace AllotrixApp {

using Allotrix::Allocate::AllocationResult;
using Allotrix::Allocate::kAllUnallocatedReasons;
using Allotrix::Allocate::ReasonKey;
using Allotrix::Allocate::ReasonText;

namespace {

// Every meter or parcel that received demand has one mark saying so; a set
// of the connectors' IDs would take seconds at a million meters.
std::size_t allocatedSources(const AllocationResult& result) {
    return static_cast<std::size_t>(std::count_if(result.marks.begin(), result.marks.end(),
                                                  [](const auto& mark) { return mark.allocated; }));
}

std::string row(const std::string& label, const std::string& value, const std::string& extra = {}) {
    char line[256];
    std::snprintf(line, sizeof line, "  %-44s %14s%s\n", label.c_str(), value.c_str(), extra.c_str());
    return line;
}

std::vector<std::pair<std::string, std::string>> outputList(const Allotrix::Allocate::ResultFiles& files) {
    return {{"model", files.model.string()},
            {"nodes", files.nodeTable.string()},
            {"unallocated", files.unallocatedTable.string()},
            {"connectors", files.connectors.string()},
            {"map", files.map.string()}};
}

}  // namespace

void PrintSummary(std::ostream& out, const SummaryFacts& facts) {
    const AllocationResult& result = *facts.result;
    const auto& ledger = result.ledger;
    const auto& scale = result.scale;
    out << "Allocated " << facts.sourceName << " onto " << facts.modelName << " by " << facts.method << "\n";
    out << row(result.sourceNoun + " read", std::to_string(ledger.SourcesRead()));
    out << row(result.sourceNoun + " allocated", std::to_string(allocatedSources(result)));
    for (const auto reason : kAllUnallocatedReasons) {
        const auto& account = ledger.UnallocatedFor(reason);
        if (account.sources == 0) continue;
        out << row("unallocated: " + std::string(ReasonText(reason)), std::to_string(account.sources),
                   "  demand " + scale.Format(account.units));
    }
    out << row("total demand in", scale.Format(ledger.Input()));
    out << row("total allocated", scale.Format(ledger.Allocated()), "  to " + std::to_string(ledger.NodeCount()) + " nodes");
    out << row("total unallocated", scale.Format(ledger.Unallocated()));
    out << row("balance", ledger.Balances() ? "exact" : "BROKEN", "  (allocated + unallocated = demand in)");
    if (!facts.timings.empty()) {
        std::string times;
        for (const auto& timing : facts.timings) times += (times.empty() ? "" : ", ") + timing;
        out << "  time: " << times << "\n";
    }
    if (facts.outputs) {
        out << "Outputs:\n";
        for (const auto& [what, path] : outputList(*facts.outputs)) out << "  " << what << std::string(12 - what.size(), ' ') << path << "\n";
    }
}

void PrintJsonSummary(std::ostream& out, const SummaryFacts& facts) {
    const AllocationResult& result = *facts.result;
    const auto& ledger = result.ledger;
    const auto amount = [&](std::int64_t units) { return result.scale.ToDouble(units); };
    nlohmann::json unallocated = nlohmann::json::object();
    for (const auto reason : kAllUnallocatedReasons) {
        const auto& account = ledger.UnallocatedFor(reason);
        unallocated[std::string(ReasonKey(reason))] = {{"count", account.sources}, {"demand", amount(account.units)}};
    }
    nlohmann::json summary = {{"method", facts.method},
                              {"model", facts.modelName},
                              {"sources", facts.sourceName},
                              {"read", ledger.SourcesRead()},
                              {"allocated", allocatedSources(result)},
                              {"unallocated", unallocated},
                              {"demand_in", amount(ledger.Input())},
                              {"demand_allocated", amount(ledger.Allocated())},
                              {"demand_unallocated", amount(ledger.Unallocated())},
                              {"nodes", ledger.NodeCount()},
                              {"balanced", ledger.Balances()},
                              {"notices", result.notices},
                              {"warnings", result.warnings},
                              {"timings", facts.timings}};
    if (facts.outputs)
        for (const auto& [what, path] : outputList(*facts.outputs)) summary["outputs"][what] = path;
    out << summary.dump(2) << "\n";
}

}  // namespace AllotrixApp
