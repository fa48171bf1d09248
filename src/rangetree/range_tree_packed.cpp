#include "rangetree/range_tree_packed.h"

#include <algorithm>
#include <cmath>

#include "rangetree/range_tree_interior.h"
#include "rangetree/range_tree_leaf.h"

namespace Korvex::Geom {

namespace {

// Twice the centre; NaN when a bound is NaN or the rectangle infinite.
double CentreX(const DRange2d& r) { return r.low.x + r.high.x; }
double CentreY(const DRange2d& r) { return r.low.y + r.high.y; }

double Lower(double a, double b) { return std::isnan(a) || a < b ? a : b; }
double Higher(double a, double b) { return std::isnan(a) || a > b ? a : b; }

// The cover of two rectangles; a NaN bound stays NaN, so that a search, to
// which a NaN bound counts as touching, still reaches the leaf holding it.
DRange2d Cover(const DRange2d& a, const DRange2d& b) {
    return {{Lower(a.low.x, b.low.x), Lower(a.low.y, b.low.y)},
            {Higher(a.high.x, b.high.x), Higher(a.high.y, b.high.y)}};
}

// Sorts by key, entries whose key is NaN last in no particular order.
template <class Iterator, class Key>
void SortByKey(Iterator begin, Iterator end, Key key) {
    const Iterator numbers = std::partition(begin, end, [&](const auto& e) { return !std::isnan(key(e)); });
    std::sort(begin, numbers, [&](const auto& a, const auto& b) { return key(a) < key(b); });
}

}  // namespace

XYRangeTreePacked::XYRangeTreePacked(const XYRangeTreeInterior& top) {
    std::vector<Entry> entries;
    CollectLeaves(top, entries);
    bool leaves = true;
    while (!entries.empty()) {
        entries = PackLevel(entries, leaves);
        leaves = false;
        if (entries.size() == 1)
            break;
    }
}

// In traversal order: the leaves of a node that holds leaves, else its
// interior children in turn (a traversal looks at nothing else).
void XYRangeTreePacked::CollectLeaves(const XYRangeTreeInterior& node, std::vector<Entry>& leaves) {
    for (int i = 0; i < node.GetChildCount(); ++i) {
        const XYRangeTreeQuery* child = node.GetChild(i);
        if (node.HasOnlyLeaves()) {
            leaves.push_back({child->GetRange(), static_cast<int>(m_leafData.size())});
            m_leafData.push_back(static_cast<const XYRangeTreeLeaf*>(child)->GetData());
        } else if (const XYRangeTreeInterior* interior = child->AsInterior()) {
            CollectLeaves(*interior, leaves);
        }
    }
}

std::vector<XYRangeTreePacked::Entry> XYRangeTreePacked::PackLevel(std::vector<Entry>& entries,
                                                                    bool leaves) {
    const size_t count = entries.size();
    const size_t nodeCount = (count + kFanOut - 1) / kFanOut;
    const size_t strips = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(nodeCount))));
    const size_t stripSize = (nodeCount + strips - 1) / strips * kFanOut;
    SortByKey(entries.begin(), entries.end(), [](const Entry& e) { return CentreX(e.range); });
    std::vector<Entry> above;
    for (size_t strip = 0; strip < count; strip += stripSize) {
        const auto stripEnd = entries.begin() + static_cast<std::ptrdiff_t>(std::min(count, strip + stripSize));
        SortByKey(entries.begin() + static_cast<std::ptrdiff_t>(strip), stripEnd,
                  [](const Entry& e) { return CentreY(e.range); });
        for (auto first = entries.begin() + static_cast<std::ptrdiff_t>(strip); first < stripEnd;) {
            const auto last = first + std::min<std::ptrdiff_t>(kFanOut, stripEnd - first);
            const int firstChild = static_cast<int>(m_childRanges.size());
            DRange2d cover = first->range;
            for (auto e = first; e < last; ++e) {
                m_childRanges.push_back(e->range);
                m_children.push_back(e->index);
                cover = Cover(cover, e->range);
            }
            above.push_back({cover, static_cast<int>(m_nodes.size())});
            m_nodes.push_back({firstChild, static_cast<int>(last - first), leaves});
            first = last;
        }
    }
    return above;
}

}  // namespace Korvex::Geom
