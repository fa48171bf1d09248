// The account of one allocation: every unit of demand that comes in is
// either allocated to a node or left unallocated for a reason, and the books
// must balance exactly. All amounts are whole smallest units (DemandScale).
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
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
    // Nodes that received demand, by element ID, in no order: a hash map,
    // since a million meters update it in no order either.
    const std::unordered_map<std::int32_t, NodeAccount>& Nodes() const { return m_nodes; }
    // Their IDs in ascending order.
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
    std::unordered_map<std::int32_t, NodeAccount> m_nodes;
};

}  // namespace Allotrix::Allocate
