// The IDs met so far among the records of one file, to catch a repeated one
// among a million meters without a million small allocations: the IDs are
// kept end to end in one string and found through an open-addressing table
// of their hashes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Allotrix::Allocate {

class UniqueIds {
public:
    void Reserve(std::size_t count);
    // Keeps `id` as `record`'s, or returns the record that holds it already.
    std::optional<int> Add(std::string_view id, int record);
    // The record that holds `id`, if one does.
    std::optional<int> Find(std::string_view id) const;

private:
    struct Entry {
        std::size_t start;
        std::size_t length;
        int record;
    };
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t entry = 0;  // 1-based index into m_entries; 0 when free
    };

    std::string_view TextOf(const Entry& entry) const { return std::string_view(m_text).substr(entry.start, entry.length); }
    // The slot holding `id`, or the free slot where it would go.
    std::size_t SlotOf(std::string_view id, std::uint64_t hash) const;
    void Rehash(std::size_t slotCount);
    void Place(std::uint64_t hash, std::uint32_t entry);

    std::string m_text;
    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots;  // a power of two in size, at most half full
};

}  // namespace Allotrix::Allocate
