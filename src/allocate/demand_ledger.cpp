#include "allocate/demand_ledger.h"

#include <string>

#include "allocate/allocation_errors.h"

namespace Allotrix::Allocate {
namespace {

void addChecked(std::int64_t& total, std::int64_t units) {
    if (units < 0) throw ConservationError("negative demand " + std::to_string(units) + " entered the ledger");
    if (__builtin_add_overflow(total, units, &total)) throw ConservationError("the demand total overflows");
}

}  // namespace

void DemandLedger::AddInput(std::int64_t units) {
    addChecked(m_input, units);
    ++m_sourcesRead;
}

void DemandLedger::AddAllocated(std::int32_t nodeId, std::int64_t units) {
    if (nodeId < 0) throw ConservationError("demand went to node ID " + std::to_string(nodeId));
    const auto index = static_cast<std::size_t>(nodeId);
    if (index >= m_nodes.size()) m_nodes.resize(index + 1);
    NodeAccount& node = m_nodes[index];
    addChecked(m_allocated, units);
    addChecked(node.units, units);
    if (node.sources++ == 0) ++m_nodeCount;
}

const DemandLedger::NodeAccount* DemandLedger::Node(std::int32_t nodeId) const {
    const auto index = static_cast<std::size_t>(nodeId);
    return nodeId >= 0 && index < m_nodes.size() && m_nodes[index].sources > 0 ? &m_nodes[index] : nullptr;
}

void DemandLedger::AddUnallocated(UnallocatedReason reason, std::int64_t units) {
    ReasonAccount& account = m_reasons[static_cast<std::size_t>(reason)];
    addChecked(account.units, units);
    ++account.sources;
}

std::vector<std::int32_t> DemandLedger::NodeIds() const {
    std::vector<std::int32_t> ids;
    ids.reserve(m_nodeCount);
    for (std::size_t id = 0; id < m_nodes.size(); ++id)
        if (m_nodes[id].sources > 0) ids.push_back(static_cast<std::int32_t>(id));
    return ids;
}

std::int64_t DemandLedger::Unallocated() const {
    std::int64_t total = 0;
    for (const ReasonAccount& account : m_reasons) addChecked(total, account.units);
    return total;
}

bool DemandLedger::Balances() const {
    std::int64_t byNode = 0;
    for (const NodeAccount& node : m_nodes) addChecked(byNode, node.units);
    std::int64_t out = m_allocated;
    addChecked(out, Unallocated());
    return out == m_input && byNode == m_allocated;
}

void DemandLedger::Check() const {
    if (!Balances())
        throw ConservationError("demand is not conserved: input " + std::to_string(m_input) + " units, allocated " +
                                std::to_string(m_allocated) + ", unallocated " + std::to_string(Unallocated()));
}

}  // namespace Allotrix::Allocate
