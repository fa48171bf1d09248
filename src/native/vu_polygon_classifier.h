// The working object of one polygon Boolean operation: a vertex-use graph
// with the face array its result is read from.
#pragma once

#include "planar/planar_types.h"
#include "vu/vu_types.h"

namespace Korvex {

class VuPolygonClassifier {
public:
    VuPolygonClassifier();
    ~VuPolygonClassifier();
    VuPolygonClassifier(const VuPolygonClassifier&) = delete;
    VuPolygonClassifier& operator=(const VuPolygonClassifier&) = delete;

    VuSet* Graph() { return m_graph; }

    // One loop per run of three or more points between disconnect points;
    // shorter runs are skipped.
    void AddLoops(const DPoint3d* buffer, int count);
    // Adds an operand's rings as loops and makes them one region: merged,
    // regularized and marked inside/outside by alternation.
    void LoadOperand(const DPoint3d* buffer, int count);
    // Gathers the interior faces of the graph for ReadNextFaceLoop.
    void CollectInteriorFaces();
    // The next interior face with more than two nodes and a non-zero area,
    // closed by repeating its first point when there is room. Nodes beyond
    // `capacity` are walked but not stored. False when no face is left.
    bool ReadNextFaceLoop(DPoint3d* buffer, void** userData, int* count, int capacity);

private:
    int StoreFaceLoop(VuNode* start, DPoint3d* buffer, void** userData, int capacity) const;

    VuSet* m_graph;
    vuArray* m_faces;
};

}  // namespace Korvex
