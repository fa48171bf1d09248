// The account of one allocation: every unit of demand that comes in is
// either allocated to a node or left unallocated for a reason, and the books
// must balance exactly. All amounts are whole smallest units (DemandScale).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "allocate/unallocated_reason.h"

namespace Allotrix::Allocate {

class DemandLedger {
public:
    struct NodeAccount {
        std::int64_t units = 0;
        int sources = 0;  // meters or parcels that gave the node some demand
    };
    struct ReasonAccount {
        std::int64_t units = 0;
        int sources = 0;
    };

    // A source (meter or parcel) read, with its demand (0 when it has none).
    void AddInput(std::int64_t units);
    void AddAllocated(std::int32_t nodeId, std::int64_t units);
    void AddUnallocated(UnallocatedReason reason, std::int64_t units);

    int SourcesRead() const { return m_sourcesRead; }
    std::int64_t Input() const { return m_input; }
    std::int64_t Allocated() const { return m_allocated; }
    std::int64_t Unallocated() const;
    const ReasonAccount& UnallocatedFor(UnallocatedReason reason) const {
        return m_reasons[static_cast<std::size_t>(reason)];
    }
    // The account of a node that received demand (possibly 0 units); null
    // for any other node.
    const NodeAccount* Node(std::int32_t nodeId) const;
    // How many nodes received demand, and their IDs in ascending order.
    std::size_t NodeCount() const { return m_nodeCount; }
    std::vector<std::int32_t> NodeIds() const;

    // Whether allocated + unallocated = input and the node accounts add up
    // to the allocated total.
    bool Balances() const;
    // ConservationError with the three totals when the books do not balance.
    void Check() const;

private:
    int m_sourcesRead = 0;
    std::int64_t m_input = 0;
    std::int64_t m_allocated = 0;
    std::array<ReasonAccount, kAllUnallocatedReasons.size()> m_reasons{};
    // Indexed by element ID, which a model counts from 1, so it is no longer
    // than the model: a million meters fall on their nodes in no order, and
    // a lookup by position is the one that keeps up. No sources: no demand.
    std::vector<NodeAccount> m_nodes;
    std::size_t m_nodeCount = 0;
};

}  // namespace Allotrix::Allocate
