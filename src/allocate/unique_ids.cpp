#include "allocate/unique_ids.h"

#include <bit>
#include <functional>
#include <limits>
#include <stdexcept>

namespace Allotrix::Allocate {

void UniqueIds::Reserve(std::size_t count) {
    m_entries.reserve(count);
    if (2 * count > m_slots.size()) Rehash(std::bit_ceil(std::max<std::size_t>(2 * count, 16)));
}

std::size_t UniqueIds::SlotOf(std::string_view id, std::uint64_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hash & mask;
    for (; m_slots[at].entry != 0; at = (at + 1) & mask)
        if (m_slots[at].hash == hash && TextOf(m_entries[m_slots[at].entry - 1]) == id) break;
    return at;
}

std::optional<int> UniqueIds::Find(std::string_view id) const {
    if (m_slots.empty()) return std::nullopt;
    const Slot& slot = m_slots[SlotOf(id, std::hash<std::string_view>{}(id))];
    if (slot.entry == 0) return std::nullopt;
    return m_entries[slot.entry - 1].record;
}

std::optional<int> UniqueIds::Add(std::string_view id, int record) {
    if (2 * (m_entries.size() + 1) > m_slots.size()) Rehash(std::max<std::size_t>(2 * m_slots.size(), 16));
    const std::uint64_t hash = std::hash<std::string_view>{}(id);
    const std::size_t at = SlotOf(id, hash);
    if (m_slots[at].entry != 0) return m_entries[m_slots[at].entry - 1].record;
    if (m_entries.size() >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("too many IDs");
    m_entries.push_back({m_text.size(), id.size(), record});
    m_text.append(id);
    m_slots[at] = {hash, static_cast<std::uint32_t>(m_entries.size())};
    return std::nullopt;
}

void UniqueIds::Rehash(std::size_t slotCount) {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(slotCount, Slot{});
    for (const Slot& slot : old)
        if (slot.entry != 0) Place(slot.hash, slot.entry);
}

void UniqueIds::Place(std::uint64_t hash, std::uint32_t entry) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hash & mask;
    while (m_slots[at].entry != 0) at = (at + 1) & mask;
    m_slots[at] = {hash, entry};
}

}  // namespace Allotrix::Allocate
