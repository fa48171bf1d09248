#include "allocate/writers/model_demand_writer.h"

#include "allocate/allocation_errors.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/network_element_types.h"
#include "host/support/exceptions.h"

namespace Allotrix::Allocate {

using Norvane::Domain::DemandRow;
using Norvane::Domain::InpModel;

namespace {

double totalBaseDemand(const InpModel& model, std::int32_t junction) {
    const auto value = model.Model().ModelingElementField(Norvane::Domain::FieldNames::TotalBaseDemand)->GetValue(junction);
    const auto* number = std::get_if<double>(&value);
    return number ? *number : 0.0;
}

void writeOne(InpModel& model, std::int32_t junction, double demand, const DemandWriteOptions& options) {
    const DemandRow row{demand, options.pattern, options.category};
    if (options.mode == DemandMode::Add) {
        model.AddDemand(junction, row);
        return;
    }
    const bool plain = options.pattern.empty() && options.category.empty();
    if (plain && model.DemandRows(junction).empty()) {
        model.SetBaseDemand(junction, demand);
        return;
    }
    model.SetDemandRows(junction, {row});
    if (model.BaseDemand(junction) != 0.0) model.SetBaseDemand(junction, 0.0);
}

}  // namespace

std::vector<NodeDemandChange> WriteDemandsIntoModel(InpModel& model, const AllocationResult& result,
                                                    const DemandWriteOptions& options) {
    std::vector<NodeDemandChange> changes;
    for (const std::int32_t junction : result.ledger.NodeIds()) {
        const DemandLedger::NodeAccount& account = *result.ledger.Node(junction);
        NodeDemandChange change;
        change.nodeId = junction;
        change.label = model.Model().FindElement(junction)->Label();
        change.before = totalBaseDemand(model, junction);
        change.allocatedUnits = account.units;
        change.sources = account.sources;
        try {
            writeOne(model, junction, result.scale.ToDouble(account.units), options);
        } catch (const Norvane::Support::ArgumentException& error) {
            throw InputError("junction " + change.label + ": " + error.what());
        }
        change.after = totalBaseDemand(model, junction);
        changes.push_back(std::move(change));
    }
    return changes;
}

}  // namespace Allotrix::Allocate
