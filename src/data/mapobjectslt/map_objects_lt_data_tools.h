// The boundary between host geometry (points and point arrays) and the native
// geometry operations: conversions to and from native handles, orientation
// before Boolean operations, outer rings with their holes, and the touch test.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/prompt_presenters.h"
#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_layer.h"
#include "host/prompts/file_proxy.h"
#include "host/support/geometry_object.h"
#include "host/support/geometry_point.h"
#include "native/native_geometry.h"

namespace Norvane::Support {
class RegistryStore;
}

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {

class MapObjectsLTDataTools {
public:
    // The registry store answers the one tuning value of the touch test.
    // The library (display unit) and the presenters serve the shapefile side;
    // without presenters the prompts fail with InvalidOperationException.
    // Everything given must outlive the facade.
    explicit MapObjectsLTDataTools(const Support::RegistryStore& registry, const AllotrixLibrary* library = nullptr,
                                   const PromptPresenters* presenters = nullptr);

    // --- Shapefile side
    // Whether a file of exactly that name exists.
    bool LayerExists(const std::string& path) const;
    std::unique_ptr<IDataLayer> OpenLayer(const std::string& path) const;
    // Asks for a shapefile of one of the `filter` kinds until the user picks
    // one or cancels (no value). The first accepted file of the process also
    // tells the user its coordinates are taken in the model's unit.
    std::optional<std::string> OpenWithDialogPrompting(std::intptr_t ownerWindowHandle,
                                                       const std::vector<Norvane::Domain::DomainElementShapeType>& filter);
    std::unique_ptr<VaultixFacade::IFileProxy> SaveWithDialogPrompting(std::intptr_t ownerWindowHandler,
                                                                       const VaultixFacade::SaveDelegate& saveDelegate);
    // An empty shapefile of `type` at `path` (extension optional), replacing
    // one there.
    void CreateLayer(const std::string& path, Norvane::Domain::DomainElementShapeType type) const;
    // The filter of the shapefile prompts: "Esri Shapefiles (*.shp)|*.shp".
    static std::string ShapefileFilter();
    // Shown at most once per process: shapefiles carry no unit.
    static inline bool UnitAssumedMessageShown = false;

    // --- Conversions (every handle returned is new; release with FreeGeometry)
    std::intptr_t GetPointNative(const Support::GeometryPoint& pnt) const;
    std::intptr_t GetPolylineNative(const Support::PointArray& pnts) const;
    // A polygon ring is built exactly like a polyline: no closing point added.
    std::intptr_t GetPolygonNative(const Support::PointArray& pnt) const { return GetPolylineNative(pnt); }
    void FreeGeometry(std::intptr_t geometry) const { FreeGeometryStatic(geometry); }
    // The single point of a one-point handle, else GeometryPoint::Empty().
    Support::GeometryPoint GetPoint(std::intptr_t nativePoint) const;
    // The points of the first record; empty for a zero handle.
    Support::PointArray GetPolygon(std::intptr_t polygon) const;
    // The first record (ring) that contains `innerPoint`, holes included,
    // each tested alone; the first record when none does.
    Support::PointArray GetPolygon(std::intptr_t polygon, std::intptr_t innerPoint) const;

    // --- Rings: the first record's orientation defines "outer".
    int GetPolygonRingCount(std::intptr_t polygon) const;
    // One new handle per outer ring, its holes chained after it; the input is
    // unchanged.
    std::vector<std::intptr_t> GetRingsFor(std::intptr_t polygon) const;

    // --- Tests and measures
    bool IsPointInPolygon(std::intptr_t pnt, std::intptr_t polygon) const;
    // Boundaries cross, or one comes within sqrt(smaller area) / ratio of the
    // other; the ratio is read from the registry on first use (default 750).
    bool DoPolygonsTouch(std::intptr_t polygon1, std::intptr_t polygon2);
    void GetPolygonCentroidAndArea(std::intptr_t polygon, std::intptr_t& centroid, double& area) const;
    double GetClosestDistanceSquaredBetweenPolygons(std::intptr_t polygon1, std::intptr_t polygon2) const;

    // --- Booleans. Each first turns both inputs counter-clockwise, in place.
    // An intersection whose second operand is open (first and last points
    // differ) cuts the first polygon with that polyline instead.
    std::intptr_t GetPolygonIntersection(std::intptr_t polygon1, std::intptr_t polygon2) const;
    std::intptr_t GetPolygonUnion(std::intptr_t polygon1, std::intptr_t polygon2) const;
    std::intptr_t SubstractVerticesMatchingPolygon(std::intptr_t polygon1, std::intptr_t polygon2) const;

    // --- Static conversions used by the layers
    static void FreeGeometryStatic(std::intptr_t geometry);
    // A point, a point array (one record) or a list of them (one record per
    // array, chained in order); zero for no geometry.
    static std::intptr_t GetGeometryNative(const Support::GeometryObject& geometry);
    // The first point of the first record; the handle must hold one.
    static Support::GeometryPoint GetGeometryPoint(std::intptr_t native);
    static Support::PointArray GetGeometryPoints(std::intptr_t native);
    // One point array per record of the chain.
    static Support::PointArrayList GetGeometryPolygon(std::intptr_t native);
    // Reverses the point order of every record of the chain, in place.
    static void ChangePolygonOrder(Korvex::NativeGeometry* pPoly);

    // The registry key and value of the touch test's ratio, and its default.
    static constexpr const char* kRatioKey = "SOFTWARE\\Korvex\\Fenmark\\Components\\ThiessenPolygons";
    static constexpr const char* kRatioValue = "MaxPolygonOffsetLengthRatio";
    static constexpr std::uint32_t kDefaultRatio = 750;

private:
    void CheckMaxRatio();
    const PromptPresenters& Presenters() const;

    const Support::RegistryStore& m_registry;
    const AllotrixLibrary* m_library;
    const PromptPresenters* m_presenters;
    // Read once per facade on the first touch test; 0 = not yet read.
    std::uint32_t m_maxPolygonOffsetLengthRatio = 0;
};

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
