#include "data/standard_data_tools.h"

#include <algorithm>
#include <cctype>

namespace Norvane::Allotrix::Calculations::Data {

StandardDataTools::StandardDataTools(const AllotrixLibrary& library, const Support::RegistryStore& registry,
                                     const PromptPresenters* presenters)
    : m_MapObjectsLTDataTools(registry, &library, presenters), m_DomainDataTools(library, presenters) {}

bool StandardDataTools::IsShapefilePath(const std::string& path) {
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(".SHP") != std::string::npos;
}

bool StandardDataTools::LayerExists(const std::string& path) {
    return IsShapefilePath(path) ? m_MapObjectsLTDataTools.LayerExists(path) : m_DomainDataTools.LayerExists(path);
}

std::unique_ptr<IDataLayer> StandardDataTools::OpenLayer(const std::string& path) {
    return IsShapefilePath(path) ? m_MapObjectsLTDataTools.OpenLayer(path) : m_DomainDataTools.OpenLayer(path);
}

std::optional<std::string> StandardDataTools::OpenWithDialogPrompting(
    std::intptr_t ownerWindowHandle, const std::string& dialogTitle, const std::string& startPath,
    const std::vector<Norvane::Domain::DomainElementShapeType>& filter, const DomainElementManagers* domainElementManagers,
    bool isMultipleDomainElementsAllowed) {
    if (domainElementManagers)
        return m_DomainDataTools.OpenWithDialogPrompting(ownerWindowHandle, dialogTitle, startPath, filter,
                                                         *domainElementManagers, isMultipleDomainElementsAllowed);
    return m_MapObjectsLTDataTools.OpenWithDialogPrompting(ownerWindowHandle, filter);
}

std::unique_ptr<VaultixFacade::IFileProxy> StandardDataTools::SaveWithDialogPrompting(
    std::intptr_t ownerWindowHandler, const std::string&, const std::string&, Norvane::Domain::DomainElementShapeType,
    const VaultixFacade::SaveDelegate& saveDelegate) {
    return m_MapObjectsLTDataTools.SaveWithDialogPrompting(ownerWindowHandler, saveDelegate);
}

void StandardDataTools::CreateLayer(const std::string& path, Norvane::Domain::DomainElementShapeType type, IDataLayer*) {
    m_MapObjectsLTDataTools.CreateLayer(path, type);
}

std::intptr_t StandardDataTools::GetPointNative(const Support::GeometryPoint& pnt) {
    return m_MapObjectsLTDataTools.GetPointNative(pnt);
}
std::intptr_t StandardDataTools::GetPolylineNative(const Support::PointArray& pnts) {
    return m_MapObjectsLTDataTools.GetPolylineNative(pnts);
}
// A polygon handle is built exactly like a polyline handle.
std::intptr_t StandardDataTools::GetPolygonNative(const Support::PointArray& pnt) {
    return m_MapObjectsLTDataTools.GetPolylineNative(pnt);
}
void StandardDataTools::FreeGeometry(std::intptr_t geometry) {
    MapObjectsLT::MapObjectsLTDataTools::FreeGeometryStatic(geometry);
}
Support::GeometryPoint StandardDataTools::GetPoint(std::intptr_t nativePoint) {
    return m_MapObjectsLTDataTools.GetPoint(nativePoint);
}
Support::PointArray StandardDataTools::GetPolygon(std::intptr_t polygon) {
    return m_MapObjectsLTDataTools.GetPolygon(polygon);
}
Support::PointArray StandardDataTools::GetPolygon(std::intptr_t polygon, std::intptr_t innerPoint) {
    return m_MapObjectsLTDataTools.GetPolygon(polygon, innerPoint);
}
int StandardDataTools::GetPolygonRingCount(std::intptr_t polygon) {
    return m_MapObjectsLTDataTools.GetPolygonRingCount(polygon);
}
std::vector<std::intptr_t> StandardDataTools::GetRingsFor(std::intptr_t polygon) {
    return m_MapObjectsLTDataTools.GetRingsFor(polygon);
}
bool StandardDataTools::IsPointInPolygon(std::intptr_t pnt, std::intptr_t polygon) {
    return m_MapObjectsLTDataTools.IsPointInPolygon(pnt, polygon);
}
bool StandardDataTools::DoPolygonsTouch(std::intptr_t polygon1, std::intptr_t polygon2) {
    return m_MapObjectsLTDataTools.DoPolygonsTouch(polygon1, polygon2);
}
void StandardDataTools::GetPolygonCentroidAndArea(std::intptr_t polygon, std::intptr_t& centroid, double& area) {
    m_MapObjectsLTDataTools.GetPolygonCentroidAndArea(polygon, centroid, area);
}
double StandardDataTools::GetClosestDistanceSquaredBetweenPolygons(std::intptr_t polygon1, std::intptr_t polygon2) {
    return m_MapObjectsLTDataTools.GetClosestDistanceSquaredBetweenPolygons(polygon1, polygon2);
}
std::intptr_t StandardDataTools::GetPolygonIntersection(std::intptr_t polygon1, std::intptr_t polygon2) {
    return m_MapObjectsLTDataTools.GetPolygonIntersection(polygon1, polygon2);
}
std::intptr_t StandardDataTools::GetPolygonUnion(std::intptr_t polygon1, std::intptr_t polygon2) {
    return m_MapObjectsLTDataTools.GetPolygonUnion(polygon1, polygon2);
}
std::intptr_t StandardDataTools::SubstractVerticesMatchingPolygon(std::intptr_t polygon1, std::intptr_t polygon2) {
    return m_MapObjectsLTDataTools.SubstractVerticesMatchingPolygon(polygon1, polygon2);
}

}  // namespace Norvane::Allotrix::Calculations::Data
