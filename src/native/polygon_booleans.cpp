// Intersection, union and difference of polygons on a vertex-use graph.
#include "native/native_ring.h"
#include "native/operand_buffers.h"
#include "native/operand_frame.h"
#include "native/point_buffer.h"
#include "native/stand_alone_data_tools.h"
#include "native/vu_polygon_classifier.h"
#include "vu/vu.h"

namespace Korvex {

namespace {

// Moves both operands into their common frame (see OperandFrame).
OperandFrame MoveIntoCommonFrame(OperandBuffers& operands) {
    const OperandFrame frame =
        OperandFrame::Around(operands.a.data(), operands.countA, operands.b.data(), operands.countB);
    frame.MoveIn(operands.a.data(), operands.countA);
    frame.MoveIn(operands.b.data(), operands.countB);
    return frame;
}

// Loads a as one region, saves it, loads b and combines the two.
void CombineOperands(VuPolygonClassifier& classifier, const OperandBuffers& operands,
                     VuGraphOperation operation) {
    VuSet* graph = classifier.Graph();
    vu_reinitializeVuSet(graph);
    classifier.LoadOperand(operands.a.data(), operands.countA);
    vu_stackPush(graph);
    classifier.LoadOperand(operands.b.data(), operands.countB);
    vu_stackPopWithOperation(graph, operation, nullptr);
}

}  // namespace

int CStandAloneDataTools::OnGraphMessage(vumessagetype type, VuSet* /*graph*/, VuNode* a,
                                         VuNode* b, void* /*reserved*/, void* /*classifier*/) {
    // Nearly every message is of another kind; testing the kind alone first
    // lets them leave at once (measured: the combined test costs more).
    if (type != VU_MSG_POST_EDGE_SPLIT)
        return 0;
    if (a == nullptr || b == nullptr)
        return 0;
    void* beforeA = vu_getUserDataP(vu_fpred(a));
    void* beforeB = vu_getUserDataP(vu_fpred(b));
    vu_setUserDataP(a, beforeA);
    vu_setUserDataP(b, beforeB);
    return 0;
}

NativeGeometry* CStandAloneDataTools::CollectResultGeometry(VuPolygonClassifier& classifier) {
    classifier.CollectInteriorFaces();
    PointBuffer loop;
    int count = 0;
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    while (classifier.ReadNextFaceLoop(loop.data(), nullptr, &count, kPointBufferSize)) {
        *link = NewRingFromDPoint3d(loop.data(), count);
        link = &(*link)->next;
    }
    return first != nullptr ? first : new NativeGeometry(nullptr, 0);
}

NativeGeometry* CStandAloneDataTools::GetPolygonIntersection(const NativeGeometry* a,
                                                             const NativeGeometry* b) {
    VuPolygonClassifier classifier;
    return GetPolygonIntersection(a, b, classifier);
}

NativeGeometry* CStandAloneDataTools::GetPolygonUnion(const NativeGeometry* a,
                                                      const NativeGeometry* b) {
    VuPolygonClassifier classifier;
    return GetPolygonUnion(a, b, classifier);
}

NativeGeometry* CStandAloneDataTools::GetPolygonDifference(const NativeGeometry* a,
                                                           const NativeGeometry* b) {
    VuPolygonClassifier classifier;
    return GetPolygonDifference(a, b, classifier);
}

NativeGeometry* CStandAloneDataTools::GetPolygonIntersection(const NativeGeometry* a,
                                                             const NativeGeometry* b,
                                                             VuPolygonClassifier& classifier) {
    OperandBuffers operands;
    NativeGeometry* reduced = nullptr;
    ReduceToPointBuffer(operands.a.data(), &operands.countA, &reduced, a, true);
    delete reduced;
    ReduceToPointBuffer(operands.b.data(), &operands.countB, &reduced, b, true);
    delete reduced;
    const OperandFrame frame = MoveIntoCommonFrame(operands);
    CombineOperands(classifier, operands, vu_andLoops);
    return frame.MoveOut(CollectResultGeometry(classifier));
}

NativeGeometry* CStandAloneDataTools::GetPolygonUnion(const NativeGeometry* a,
                                                      const NativeGeometry* b,
                                                      VuPolygonClassifier& classifier) {
    OperandBuffers operands;
    operands.Copy(a, b);
    const OperandFrame frame = MoveIntoCommonFrame(operands);
    CombineOperands(classifier, operands, vu_orLoops);
    return frame.MoveOut(CollectResultGeometry(classifier));
}

// Computed as (a xor b) and a.
NativeGeometry* CStandAloneDataTools::GetPolygonDifference(const NativeGeometry* a,
                                                           const NativeGeometry* b,
                                                           VuPolygonClassifier& classifier) {
    OperandBuffers operands;
    operands.Copy(a, b);
    const OperandFrame frame = MoveIntoCommonFrame(operands);
    CombineOperands(classifier, operands, vu_xorLoops);
    vu_stackPush(classifier.Graph());
    classifier.LoadOperand(operands.a.data(), operands.countA);
    vu_stackPopWithOperation(classifier.Graph(), vu_andLoops, nullptr);
    return frame.MoveOut(CollectResultGeometry(classifier));
}

}  // namespace Korvex
