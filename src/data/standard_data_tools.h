// The one object a host creates to reach all data: layers of shapefiles and
// of model elements, prompts for them, and every geometric question on native
// geometry handles.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "data/domain/domain_data_tools.h"
#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/prompt_presenters.h"
#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_geometry_library.h"
#include "host/calculations/i_data_tools.h"

namespace Norvane::Support {
class RegistryStore;
}

namespace Norvane::Allotrix::Calculations::Data {

class StandardDataTools final : public IDataTools, public IDataGeometryLibrary {
public:
    // The library gives the open model and the display unit; the registry
    // the touch test's tuning; the presenters show prompts (none: prompts
    // fail). Everything given must outlive the data tools.
    StandardDataTools(const AllotrixLibrary& library, const Support::RegistryStore& registry,
                      const PromptPresenters* presenters = nullptr);

    // A path names a shapefile when its upper-cased text contains ".SHP"
    // anywhere; every other path names model elements.
    static bool IsShapefilePath(const std::string& path);

    // --- IDataTools
    bool LayerExists(const std::string& path) override;
    std::unique_ptr<IDataLayer> OpenLayer(const std::string& path) override;
    using IDataTools::OpenWithDialogPrompting;
    std::optional<std::string> OpenWithDialogPrompting(std::intptr_t ownerWindowHandle, const std::string& dialogTitle,
                                                       const std::string& startPath,
                                                       const std::vector<Norvane::Domain::DomainElementShapeType>& filter,
                                                       const DomainElementManagers* domainElementManagers,
                                                       bool isMultipleDomainElementsAllowed) override;
    std::unique_ptr<VaultixFacade::IFileProxy> SaveWithDialogPrompting(
        std::intptr_t ownerWindowHandler, const std::string& dialogTitle, const std::string& startPath,
        Norvane::Domain::DomainElementShapeType filter, const VaultixFacade::SaveDelegate& saveDelegate) override;
    void CreateLayer(const std::string& path, Norvane::Domain::DomainElementShapeType type, IDataLayer* pTemplate) override;

    // --- IDataGeometryLibrary: forwarded to the geometry facade
    std::intptr_t GetPointNative(const Support::GeometryPoint& pnt) override;
    std::intptr_t GetPolylineNative(const Support::PointArray& pnts) override;
    std::intptr_t GetPolygonNative(const Support::PointArray& pnt) override;
    void FreeGeometry(std::intptr_t geometry) override;
    Support::GeometryPoint GetPoint(std::intptr_t nativePoint) override;
    Support::PointArray GetPolygon(std::intptr_t polygon) override;
    Support::PointArray GetPolygon(std::intptr_t polygon, std::intptr_t innerPoint) override;
    int GetPolygonRingCount(std::intptr_t polygon) override;
    std::vector<std::intptr_t> GetRingsFor(std::intptr_t polygon) override;
    bool IsPointInPolygon(std::intptr_t pnt, std::intptr_t polygon) override;
    bool DoPolygonsTouch(std::intptr_t polygon1, std::intptr_t polygon2) override;
    void GetPolygonCentroidAndArea(std::intptr_t polygon, std::intptr_t& centroid, double& area) override;
    double GetClosestDistanceSquaredBetweenPolygons(std::intptr_t polygon1, std::intptr_t polygon2) override;
    std::intptr_t GetPolygonIntersection(std::intptr_t polygon1, std::intptr_t polygon2) override;
    std::intptr_t GetPolygonUnion(std::intptr_t polygon1, std::intptr_t polygon2) override;
    std::intptr_t SubstractVerticesMatchingPolygon(std::intptr_t polygon1, std::intptr_t polygon2) override;

private:
    MapObjectsLT::MapObjectsLTDataTools m_MapObjectsLTDataTools;
    Domain::DomainDataTools m_DomainDataTools;
};

}  // namespace Norvane::Allotrix::Calculations::Data
