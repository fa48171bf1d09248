// Random chains through every measure and point test. Hostile coordinates
// must only never crash; small integer coordinates that fit the point buffer
// must also keep the facts checked below.
#include <cmath>
#include <cstdlib>

#include "fuzz_input.h"

using namespace fuzz_input;
using Korvex::CStandAloneDataTools;
using Korvex::kPointBufferSize;

namespace {

void Require(bool fact) {
    if (!fact)
        std::abort();
}

void CheckFacts(const NativeGeometry* a, const NativeGeometryPoint& query) {
    if (TotalLength(a) >= kPointBufferSize || a->count < 2)
        return;
    // A vertex of the first ring lies on the polygon's boundary.
    const NativeGeometryPoint& v = a->points[a->count - 1];
    const NativeGeometry vertex(v.x, v.y, 0.0);
    Require(CStandAloneDataTools::IsPointInPolygon(a, &vertex));
    // A ring touches itself.
    if (a->next == nullptr)
        Require(CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(a, a) == 0.0);
    NativeGeometryPoint nearest{};
    double distance = -1.0;
    if (CStandAloneDataTools::GetNearestPointOnPolyline(a, &query, &nearest, &distance))
        Require(distance >= 0.0);
    // Summing rings alone equals laying them into one buffer.
    const double together = CStandAloneDataTools::GetSignedPolygonArea(a);
    const double summed = CStandAloneDataTools::GetSignedPolygonArea(a, true, true);
    Require(std::fabs(together - summed) <= 1e-9 * (1.0 + std::fabs(summed)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool hostile = data.ConsumeBool();
    const Chain a = MakeChain(data, hostile);
    const Chain b = MakeChain(data, hostile);
    const NativeGeometryPoint query{Coordinate(data, hostile), Coordinate(data, hostile), 0.0};
    const NativeGeometry point(query.x, query.y, 0.0);

    NativeGeometryPoint out{};
    double value = 0.0;
    CStandAloneDataTools::GetSignedPolygonArea(a.get(), data.ConsumeBool(), data.ConsumeBool());
    CStandAloneDataTools::IsPointInPolygon(a.get(), &point);
    CStandAloneDataTools::DoPolylinesIntersect(a.get(), b.get());
    CStandAloneDataTools::GetNearestPointOnPolyline(a.get(), &query, &out, &value);
    CStandAloneDataTools::GetPolygonCentroidAndArea(a.get(), &out, &value);
    CStandAloneDataTools::GetClosestDistanceSquaredBetweenPolygons(a.get(), b.get());
    if (!hostile)
        CheckFacts(a.get(), query);
    return 0;
}
