// The files one allocation writes, all at once or not at all: they are
// written into a staging folder beside their targets and moved into place
// only when every one is complete, so a failed run leaves nothing
// half-written, and nothing the user has is replaced unless asked to.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"
#include "allocate/writers/model_demand_writer.h"
#include "host/calculations/i_data_tools.h"

namespace Norvane::Domain {
class InpModel;
}

namespace Allotrix::Allocate {

struct ResultFiles {
    // PREFIX.inp, PREFIX-nodes.csv, PREFIX-unallocated.csv,
    // PREFIX-connectors.shp (with .shx, .dbf) and PREFIX-map.html.
    static ResultFiles ForPrefix(const std::filesystem::path& prefix);

    std::filesystem::path model, nodeTable, unallocatedTable, connectors, map;
    // Every file that may be written, the connector shapefile's siblings
    // included.
    std::vector<std::filesystem::path> All() const;
};

class ResultStaging {
public:
    // InputError naming the first target that exists, unless `force`.
    ResultStaging(ResultFiles targets, bool force);
    ~ResultStaging();
    ResultStaging(const ResultStaging&) = delete;
    ResultStaging& operator=(const ResultStaging&) = delete;

    // Where to write: the same names inside the staging folder.
    const ResultFiles& Staged() const { return m_staged; }
    const ResultFiles& Targets() const { return m_targets; }
    // Moves every staged file onto its target.
    void Commit();

private:
    ResultFiles m_targets;
    ResultFiles m_staged;
    std::filesystem::path m_folder;
    bool m_force;
};

// Writes every result file at the paths of `files`: the model with its new
// demands, both tables, the connector shapefile and the map page. Returns
// what each node received.
std::vector<NodeDemandChange> WriteResultFiles(const ResultFiles& files, Norvane::Domain::InpModel& model,
                                               const std::string& modelName, const AllocationResult& result,
                                               const DemandWriteOptions& options,
                                               Norvane::Allotrix::Calculations::IDataTools& tools);

}  // namespace Allotrix::Allocate
