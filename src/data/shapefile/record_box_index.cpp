#include "data/shapefile/record_box_index.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Norvane::Allotrix::Calculations::Data::Shapefile {
namespace {

constexpr std::size_t kFanout = 16;

bool meets(const RecordBox& a, const RecordBox& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

// Boxes with a NaN or infinite bound are never trusted to prune.
bool prunable(const RecordBox& box) {
    return std::isfinite(box.minX) && std::isfinite(box.minY) && std::isfinite(box.maxX) && std::isfinite(box.maxY);
}

RecordBox unite(const RecordBox& a, const RecordBox& b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX), std::max(a.maxY, b.maxY)};
}

double centreX(const RecordBox& b) { return 0.5 * b.minX + 0.5 * b.maxX; }
double centreY(const RecordBox& b) { return 0.5 * b.minY + 0.5 * b.maxY; }

// Sort-tile-recursive order: vertical slices by x, each sorted by y, so that
// consecutive runs of kFanout entries are compact tiles.
void tileOrder(std::vector<std::int32_t>& order, const std::vector<RecordBox>& boxes) {
    const std::size_t n = order.size();
    std::sort(order.begin(), order.end(),
              [&](std::int32_t a, std::int32_t b) { return centreX(boxes[a]) < centreX(boxes[b]); });
    const std::size_t tiles = (n + kFanout - 1) / kFanout;
    const auto slices = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(tiles))));
    const std::size_t sliceSize = slices * kFanout;
    for (std::size_t start = 0; start < n; start += sliceSize) {
        const auto end = order.begin() + static_cast<std::ptrdiff_t>(std::min(n, start + sliceSize));
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(start), end,
                  [&](std::int32_t a, std::int32_t b) { return centreY(boxes[a]) < centreY(boxes[b]); });
    }
}

}  // namespace

RecordBoxIndex::RecordBoxIndex(const std::vector<RecordBox>& boxes) : m_recordCount(boxes.size()) { build(boxes); }

void RecordBoxIndex::build(const std::vector<RecordBox>& boxes) {
    std::vector<std::int32_t> order;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (prunable(boxes[i])) {
            order.push_back(static_cast<std::int32_t>(i));
        } else {
            m_unprunable.push_back(static_cast<std::int32_t>(i));
        }
    }
    if (order.empty()) return;
    tileOrder(order, boxes);
    for (std::int32_t position : order) {
        m_entryBoxes.push_back(boxes[position]);
        m_entryPositions.push_back(position);
    }
    // Leaves over runs of entries, then levels of parents over runs of nodes.
    std::size_t levelStart = 0;
    for (std::size_t first = 0; first < order.size(); first += kFanout) {
        const std::size_t count = std::min(kFanout, order.size() - first);
        RecordBox box = m_entryBoxes[first];
        for (std::size_t i = first + 1; i < first + count; ++i) box = unite(box, m_entryBoxes[i]);
        m_nodes.push_back({box, static_cast<std::int32_t>(first), static_cast<std::int32_t>(count), true});
    }
    while (m_nodes.size() - levelStart > 1) {
        const std::size_t levelEnd = m_nodes.size();
        for (std::size_t first = levelStart; first < levelEnd; first += kFanout) {
            const std::size_t count = std::min(kFanout, levelEnd - first);
            RecordBox box = m_nodes[first].box;
            for (std::size_t i = first + 1; i < first + count; ++i) box = unite(box, m_nodes[i].box);
            m_nodes.push_back({box, static_cast<std::int32_t>(first), static_cast<std::int32_t>(count), false});
        }
        levelStart = levelEnd;
    }
}

void RecordBoxIndex::Query(const RecordBox& query, std::vector<std::int32_t>& positions) const {
    positions.assign(m_unprunable.begin(), m_unprunable.end());
    if (m_nodes.empty() || !prunable(query)) {
        if (!prunable(query)) positions.insert(positions.end(), m_entryPositions.begin(), m_entryPositions.end());
        std::sort(positions.begin(), positions.end());
        return;
    }
    std::vector<std::int32_t> stack{static_cast<std::int32_t>(m_nodes.size() - 1)};
    while (!stack.empty()) {
        const Node& node = m_nodes[static_cast<std::size_t>(stack.back())];
        stack.pop_back();
        if (!meets(node.box, query)) continue;
        for (std::int32_t i = node.first; i < node.first + node.count; ++i) {
            if (!node.leaf) {
                stack.push_back(i);
            } else if (meets(m_entryBoxes[static_cast<std::size_t>(i)], query)) {
                positions.push_back(m_entryPositions[static_cast<std::size_t>(i)]);
            }
        }
    }
    std::sort(positions.begin(), positions.end());
}

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
