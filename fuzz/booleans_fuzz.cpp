// Random operands through the polygon Booleans and the polyline closing.
// Hostile operands must only never crash. Operands made of rectangles and
// triangles on a small integer grid must also keep the area identities
//   R(A) + R(B) = R(A or B) + R(A and B),   R(A minus B) = R(A) - R(A and B),
// where R(X) is the area of X's region (X united with nothing). One
// classifier is kept across all inputs, as a caller looping over pairs keeps
// it: what hostile operands leave in it must not change a later answer.
#include <cmath>
#include <cstdlib>

#include "fuzz_input.h"

using namespace fuzz_input;
using Korvex::CStandAloneDataTools;
using Korvex::MaxVerticesCountExceededException;

namespace {

Korvex::VuPolygonClassifier& KeptClassifier() {
    static Korvex::VuPolygonClassifier classifier;
    return classifier;
}

void Require(bool fact) {
    if (!fact)
        std::abort();
}

double Area(NativeGeometry* result) {
    const Chain owned(result);
    return CStandAloneDataTools::GetSignedPolygonArea(owned.get(), true, true);
}

double RegionArea(const NativeGeometry* g) {
    return Area(CStandAloneDataTools::GetPolygonUnion(g, nullptr));
}

NativeGeometry* Shape(FuzzedDataProvider& data) {
    const double x = Coordinate(data, false);
    const double y = Coordinate(data, false);
    const double w = 1 + data.ConsumeIntegralInRange<int>(0, 20);
    const double h = 1 + data.ConsumeIntegralInRange<int>(0, 20);
    if (data.ConsumeBool()) {
        const NativeGeometryPoint box[4] = {{x, y, 0}, {x + w, y, 0}, {x + w, y + h, 0}, {x, y + h, 0}};
        return new NativeGeometry(box, 4);
    }
    const NativeGeometryPoint triangle[3] = {{x, y, 0}, {x + w, y, 0}, {Coordinate(data, false), y + h, 0}};
    return new NativeGeometry(triangle, 3);
}

Chain Shapes(FuzzedDataProvider& data) {
    const int count = data.ConsumeIntegralInRange<int>(1, 4);
    NativeGeometry* first = nullptr;
    NativeGeometry** link = &first;
    for (int i = 0; i < count; ++i) {
        *link = Shape(data);
        link = &(*link)->next;
    }
    return Chain(first);
}

void CheckAreaIdentities(FuzzedDataProvider& data) {
    const Chain a = Shapes(data);
    const Chain b = Shapes(data);
    const double ra = RegionArea(a.get());
    const double rb = RegionArea(b.get());
    const double both = Area(CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get()));
    const double either = Area(CStandAloneDataTools::GetPolygonUnion(a.get(), b.get()));
    const double aOnly = Area(CStandAloneDataTools::GetPolygonDifference(a.get(), b.get()));
    Require(both == Area(CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get(), KeptClassifier())));
    const double tolerance = 1e-7 * (1.0 + ra + rb);
    Require(std::fabs(ra + rb - either - both) <= tolerance);
    Require(std::fabs(aOnly - (ra - both)) <= tolerance);
}

void RunHostile(FuzzedDataProvider& data) {
    const Chain a = MakeChain(data, true);
    const Chain b = MakeChain(data, true);
    try {
        delete CStandAloneDataTools::GetPolygonIntersection(a.get(), b.get());
    } catch (const MaxVerticesCountExceededException&) {
        // the one failure the intersection reports by exception
    }
    delete CStandAloneDataTools::GetPolygonUnion(a.get(), b.get());
    delete CStandAloneDataTools::GetPolygonUnion(a.get(), b.get(), KeptClassifier());
    delete CStandAloneDataTools::GetPolygonDifference(a.get(), b.get());
    delete CStandAloneDataTools::GetPolygonDifference(b.get(), a.get(), KeptClassifier());
    delete CStandAloneDataTools::GetPolygonFromPolyline(a.get(), b.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool())
        CheckAreaIdentities(data);
    else
        RunHostile(data);
    return 0;
}
