#include "native/vu_polygon_classifier.h"

#include "native/stand_alone_data_tools.h"
#include "planar/planar.h"
#include "vu/vu.h"

namespace Korvex {

namespace {

// Tolerances of the graph (absolute, relative) and of loop building.
constexpr double s_graphAbsTol = 0.0;
constexpr double s_graphRelTol = 1e-10;
constexpr double sRelTol = 1e-8;

}  // namespace

VuPolygonClassifier::VuPolygonClassifier() : m_graph(vu_newVuSet(0)), m_faces(vu_grabArray(m_graph)) {
    vu_setTol(m_graph, s_graphAbsTol, s_graphRelTol);
    vu_setCMessageFunction(m_graph, CStandAloneDataTools::OnGraphMessage, this);
    vu_setUserDataPIsVertexProperty(m_graph, false);
}

VuPolygonClassifier::~VuPolygonClassifier() {
    vu_returnArray(m_graph, m_faces);
    vu_freeVuSet(m_graph);
}

void VuPolygonClassifier::AddLoops(const DPoint3d* buffer, int count) {
    int runStart = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && !tgxDPoint3d_isDisconnect(&buffer[i]))
            continue;
        if (i - runStart > 2)
            vu_loopFromDPoint3dArrayXYTol(m_graph, &buffer[runStart], i - runStart, 0.0, sRelTol);
        runStart = i + 1;
    }
}

void VuPolygonClassifier::LoadOperand(const DPoint3d* buffer, int count) {
    AddLoops(buffer, count);
    vu_mergeOrUnionLoops(m_graph, VU_MERGE_UNION);
    vu_regularizeGraph(m_graph);
    vu_markAlternatingExteriorBoundaries(m_graph, true);
}

void VuPolygonClassifier::CollectInteriorFaces() {
    vu_arrayClear(m_faces);
    vu_collectInteriorFaceLoops(m_faces, m_graph);
    vu_arrayOpen(m_faces);
}

// Walks the whole face; returns its node count, storing at most `capacity`.
int VuPolygonClassifier::StoreFaceLoop(VuNode* start, DPoint3d* buffer, void** userData,
                                       int capacity) const {
    int count = 0;
    VuNode* node = start;
    do {
        if (count < capacity) {
            vu_getDPoint3d(&buffer[count], node);
            if (userData != nullptr)
                userData[count] = vu_getUserDataP(node);
            ++count;
        }
        node = vu_fsucc(node);
    } while (node != start);
    return count;
}

bool VuPolygonClassifier::ReadNextFaceLoop(DPoint3d* buffer, void** userData, int* count,
                                           int capacity) {
    VuNode* start = nullptr;
    *count = 0;
    while (vu_arrayRead(m_faces, &start)) {
        *count = StoreFaceLoop(start, buffer, userData, capacity);
        if (*count <= 2 || vu_area(start) == 0.0)
            continue;  // a sliver or a zero-area face (a NaN area is kept)
        if (*count < capacity) {
            buffer[*count] = buffer[0];
            if (userData != nullptr)
                userData[*count] = userData[0];
            ++*count;
        }
        return true;
    }
    *count = 0;
    return false;
}

}  // namespace Korvex
