// What reading a network file yields: the model, the warnings, and what the
// editor needs to rewrite lines (where each element and demand row is, which
// patterns exist).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/domain/domain_model.h"

namespace Norvane::Domain {

// One demand category of a junction: a base demand, the pattern that scales
// it (empty: the model's default pattern) and a category name (may be empty).
struct DemandRow {
    double BaseDemand = 0.0;
    std::string Pattern;
    std::string Category;

    friend bool operator==(const DemandRow&, const DemandRow&) = default;
};

// The [DEMANDS] rows of one junction as read, with the line of each.
struct JunctionDemandRows {
    std::vector<std::size_t> lines;
    std::vector<DemandRow> rows;
};

struct InpNetwork {
    std::unique_ptr<DomainModel> model;
    std::vector<std::string> warnings;
    std::string flowUnits;
    std::vector<std::size_t> definitionLines;  // slot i: the line defining element ID i + 1
    std::map<std::int32_t, JunctionDemandRows> demandRows;  // by junction ID
    // Views into the document the network was read from.
    std::unordered_map<std::string_view, std::int32_t> nodeIds;
    std::unordered_map<std::string_view, std::int32_t> linkIds;
    std::unordered_set<std::string_view> patternIds;
};

}  // namespace Norvane::Domain
