// Creating, searching and releasing the nearest-node point searcher.
#include "native/stand_alone_data_tools.h"
#include "rangetree/rangetree.h"

namespace Korvex {

using Geom::XYPointSearcher;

XYPointSearcher* CStandAloneDataTools::InitializePointSearcher(XYPointSearcher* searcher,
                                                               const NativeGeometryPoint* point,
                                                               const std::int32_t* id) {
    if (searcher == nullptr)
        searcher = XYPointSearcher::Allocate();
    if (point != nullptr)
        searcher->AddPoint(point->x, point->y, const_cast<std::int32_t*>(id));
    return searcher;
}

void CStandAloneDataTools::SearchNearestPoint(XYPointSearcher* searcher,
                                              const NativeGeometryPoint* query, std::int32_t* id) {
    if (searcher == nullptr || query == nullptr || id == nullptr)
        return;
    double x = 0.0;
    double y = 0.0;
    void* data = nullptr;
    if (searcher->ClosestPoint(query->x, query->y, &x, &y, &data) && data != nullptr)
        *id = *static_cast<const std::int32_t*>(data);
}

void CStandAloneDataTools::DisposePointSearcher(XYPointSearcher* searcher) {
    XYPointSearcher::Free(searcher);
}

}  // namespace Korvex
