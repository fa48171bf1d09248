// An index of the bounding boxes of a layer's records, built once, that
// answers which records' boxes meet a query box. A filter then tests only the
// records near its geometry instead of every record of the layer.
#pragma once

#include <cstdint>
#include <vector>

namespace Norvane::Allotrix::Calculations::Data::Shapefile {

struct RecordBox {
    double minX, minY, maxX, maxY;
};

class RecordBoxIndex {
public:
    // boxes[i] is the box of record i. A box with a NaN or infinite bound
    // (a record without geometry, or with such coordinates) is never pruned:
    // such a record is returned by every query, so the filter's own test
    // decides. A query box of that kind returns every record.
    explicit RecordBoxIndex(const std::vector<RecordBox>& boxes);

    // Positions of the records whose box meets `query` (closed intervals: a
    // box that only touches counts), ascending; plus every unprunable record.
    void Query(const RecordBox& query, std::vector<std::int32_t>& positions) const;

    std::size_t size() const { return m_recordCount; }

private:
    struct Node {
        RecordBox box;
        std::int32_t first;  // first child node, or first entry of a leaf
        std::int32_t count;  // children or entries
        bool leaf;
    };

    void build(const std::vector<RecordBox>& boxes);

    std::size_t m_recordCount = 0;
    std::vector<RecordBox> m_entryBoxes;        // leaf entries in packed order
    std::vector<std::int32_t> m_entryPositions;  // record position of each entry
    std::vector<Node> m_nodes;                  // root last
    std::vector<std::int32_t> m_unprunable;     // records returned by every query
};

}  // namespace Norvane::Allotrix::Calculations::Data::Shapefile
