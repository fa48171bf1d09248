// Opening and describing a model-element layer, its element walk, and the
// values and geometry of the element it stands on.
#include "data/domain/domain_shp_data_layer.h"

#include <cmath>
#include <limits>
#include <unordered_set>

#include "data/domain/node_search_index.h"
#include "data/domain/pipe_search_index.h"
#include "data/domain/temporary_shapefile.h"
#include "data/mapobjectslt/map_objects_lt_data_tools.h"
#include "data/shapefile/field_value_conversions.h"
#include "data/standard_data_set.h"
#include "host/support/exceptions.h"
#include "host/support/math_library.h"
#include "host/support/text_manager.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

using Norvane::Domain::DomainElementShapeType;
using Norvane::Domain::IDomainElementManager;
using Support::FieldValue;
using Support::GeometryPoint;

namespace {

constexpr const char* kElementIDField = "ElementID";

std::string shapeName(DomainElementShapeType shape) {
    switch (shape) {
    case DomainElementShapeType::Point: return "points";
    case DomainElementShapeType::Polyline: return "polylines";
    case DomainElementShapeType::Polygon: return "polygons";
    }
    return "shapes " + std::to_string(static_cast<int>(shape));
}

// Polygon elements have no layer: their copy would be written as polylines
// and the polygon prototype has no "ElementID" field. Types of different
// shapes cannot share one.
void checkShapes(const std::vector<IDomainElementManager*>& managers) {
    for (const IDomainElementManager* manager : managers) {
        const auto& type = manager->DomainElementType();
        if (type.DomainElementShapeType() == DomainElementShapeType::Polygon)
            throw Support::ArgumentException("The elements of type \"" + type.Label() +
                                             "\" are polygons, which a model-element layer does not serve.");
        const auto& first = managers.front()->DomainElementType();
        if (type.DomainElementShapeType() != first.DomainElementShapeType())
            throw Support::ArgumentException("The element types \"" + first.Label() + "\" (" +
                                             shapeName(first.DomainElementShapeType()) + ") and \"" + type.Label() +
                                             "\" (" + shapeName(type.DomainElementShapeType()) +
                                             ") cannot form one layer.");
    }
}

[[noreturn]] void refuseEditing() {
    throw Support::NotSupportedException(
        "A model-element layer cannot be edited; the model's elements change through the model.");
}

}  // namespace

DomainShpDataLayer::DomainShpDataLayer(const AllotrixLibrary* library) : NShpDataLayer(library) {}

DomainShpDataLayer::~DomainShpDataLayer() { DomainShpDataLayer::Dispose(true); }

void DomainShpDataLayer::Open(Norvane::Domain::IDomainDataSet& dataSet, const std::vector<int>& listDomainElementTypeIDs,
                              std::int32_t selectionSetID) {
    std::vector<IDomainElementManager*> managers;
    for (const int typeID : listDomainElementTypeIDs)
        if (IDomainElementManager* manager = dataSet.DomainElementManager(typeID)) managers.push_back(manager);
    checkShapes(managers);
    Dispose(true);
    m_dataSet = &dataSet;
    m_listDomainElementManager = std::move(managers);
    m_selectionSetID = selectionSetID;
    m_elementIDs.reset();
    m_dicElementIDToElementTypeIDMap.clear();
    m_dicElementTypeIDToGeometryFieldMap.clear();
    m_shapeType.reset();
    m_pos = -1;
    m_isDomainManagerDataMode = true;
    m_isNearestMode = false;
    m_nearestPvID = 0;
}

void DomainShpDataLayer::Open(Norvane::Domain::IDomainDataSet& dataSet, const std::string& domainElementTypeName,
                              std::int32_t selectionSetID) {
    IDomainElementManager* manager = dataSet.DomainElementManager(domainElementTypeName);
    if (!manager) throw Support::ArgumentException("The model has no element type named \"" + domainElementTypeName + "\".");
    Open(dataSet, std::vector<int>{manager->DomainElementType().Id()}, selectionSetID);
}

// Back to the element walk, which needs nothing that is released here.
void DomainShpDataLayer::Dispose(bool disposing) {
    m_shapefile.reset();  // removes whatever is left of the temporary copy
    m_nodeIndex.reset();
    m_pipeIndex.reset();
    NShpDataLayer::Dispose(disposing);
    m_isDomainManagerDataMode = true;
    m_isNearestMode = false;
    m_pos = -1;
}

// --- Description --------------------------------------------------------------

IDomainElementManager& DomainShpDataLayer::FirstManager() const {
    if (m_listDomainElementManager.empty())
        throw Support::InvalidOperationException(
            "The model-element layer names no element type of the model; check the type labels of its path.");
    return *m_listDomainElementManager.front();
}

std::string DomainShpDataLayer::Name() {
    const std::string& type = FirstManager().DomainElementType().Name();
    if (m_selectionSetID == 0) return type + "\\" + Support::TextManager::Current().Get("zordd.info.AllElements");
    const Norvane::Domain::IDomainElement* set = m_dataSet->SelectionSetManager().Element(m_selectionSetID);
    if (!set) throw Support::ArgumentException("The model has no selection set " + std::to_string(m_selectionSetID) + ".");
    return type + "\\" + set->Label();
}

DomainElementShapeType DomainShpDataLayer::ShapeType() {
    if (!m_shapeType) m_shapeType = FirstManager().DomainElementType().DomainElementShapeType();
    return *m_shapeType;
}

std::vector<std::string> DomainShpDataLayer::GetFieldNames() { return {kElementIDField}; }

bool DomainShpDataLayer::FieldExists(const std::string& fieldName) { return fieldName == kElementIDField; }

Support::FieldDataType DomainShpDataLayer::GetFieldDataType(const std::string&) { return Support::FieldDataType::Integer; }

std::unique_ptr<IDataSet> DomainShpDataLayer::GetDataSet() { return std::make_unique<StandardDataSet>(Library()); }

void DomainShpDataLayer::InitializeDataLater(const std::string&) { ElementIDs(); }

// --- Element IDs ----------------------------------------------------------------

const std::vector<std::int32_t>& DomainShpDataLayer::ElementIDs() {
    if (m_elementIDs) return *m_elementIDs;
    m_elementIDs.emplace();
    try {
        if (m_selectionSetID != 0) {
            InitializeIDsFromSelectionSet();
        } else {
            InitializeIDsFromManagers();
        }
    } catch (...) {
        m_elementIDs.reset();
        m_dicElementIDToElementTypeIDMap.clear();
        throw;
    }
    return *m_elementIDs;
}

// An element met again (a path naming a type and its sub-type) is kept once.
void DomainShpDataLayer::AppendElement(std::int32_t elementID, int elementTypeID) {
    if (!m_dicElementIDToElementTypeIDMap.emplace(elementID, elementTypeID).second) return;
    m_elementIDs->push_back(elementID);
}

void DomainShpDataLayer::InitializeIDsFromManagers() {
    for (const IDomainElementManager* manager : m_listDomainElementManager)
        for (const std::int32_t id : manager->ElementIDs()) AppendElement(id, m_dataSet->DomainElementTypeID(id));
}

// The set's elements of the layer's types and their sub-types, in the set's
// order; the others (links in a node layer, IDs naming no element) are
// dropped.
void DomainShpDataLayer::InitializeIDsFromSelectionSet() {
    const Norvane::Domain::ISelectionSetField* field =
        m_dataSet->SelectionSetManager().SelectionSetField(Norvane::Domain::kSelectionSetElementIDsField);
    if (!field) throw Support::ApplicationException("The model lists no elements for its selection sets.");
    std::unordered_set<int> allowed;
    for (const IDomainElementManager* manager : m_listDomainElementManager) {
        const int typeID = manager->DomainElementType().Id();
        if (const auto* type = m_dataSet->DomainDataSetType().DomainElementType(typeID))
            for (const auto* subType : type->SubElementTypes()) allowed.insert(subType->Id());
        allowed.insert(typeID);
    }
    for (const std::int32_t id : field->GetValue(m_selectionSetID)) {
        const int typeID = m_dataSet->DomainElementTypeID(id);
        if (allowed.contains(typeID)) AppendElement(id, typeID);
    }
}

// --- Geometry of elements ----------------------------------------------------------

Norvane::Domain::IGeometryField& DomainShpDataLayer::GetGeometryField(std::int32_t elementID) {
    const auto known = m_dicElementIDToElementTypeIDMap.find(elementID);
    const int typeID = known != m_dicElementIDToElementTypeIDMap.end() ? known->second : m_dataSet->DomainElementTypeID(elementID);
    if (const auto cached = m_dicElementTypeIDToGeometryFieldMap.find(typeID); cached != m_dicElementTypeIDToGeometryFieldMap.end())
        return *cached->second;
    IDomainElementManager* manager = m_dataSet->DomainElementManager(typeID);
    auto* field = manager ? dynamic_cast<Norvane::Domain::IGeometryField*>(manager->DomainElementField(
                                Norvane::Domain::kGeometryFieldName, Norvane::Domain::kGeometryTableName))
                          : nullptr;
    if (!field)
        throw Support::ApplicationException("The model gives no geometry for element " + std::to_string(elementID) + ".");
    const Support::LengthUnit display = Library() ? Library()->DisplayLengthUnit : AllotrixLibrary{}.DisplayLengthUnit;
    if (const Support::Unit unit = Support::Unit::FromLengthUnit(display); unit.IsLength()) field->SetWorkingUnit(unit);
    m_dicElementTypeIDToGeometryFieldMap.emplace(typeID, field);
    return *field;
}

GeometryPoint DomainShpDataLayer::PointOf(std::int32_t elementID) {
    const auto* field = dynamic_cast<const Norvane::Domain::IGeometryPointField*>(&GetGeometryField(elementID));
    return field ? field->GetPoint(elementID) : GeometryPoint::Empty();
}

Support::PointArray DomainShpDataLayer::VerticesOf(std::int32_t elementID) {
    const auto* field = dynamic_cast<const Norvane::Domain::IGeometryPolylineField*>(&GetGeometryField(elementID));
    return field ? field->GetPoints(elementID) : Support::PointArray{};
}

Support::GeometryObject DomainShpDataLayer::GeometryOf(std::int32_t elementID) {
    return GetGeometryField(elementID).GetGeometry(elementID);
}

void DomainShpDataLayer::RequireCoordinates(std::size_t elementsAsked, std::size_t elementsWithCoordinates) {
    if (elementsAsked == 0 || elementsWithCoordinates > 0) return;
    throw Support::ApplicationException("None of the " + std::to_string(elementsAsked) + " elements of the layer " +
                                        Name() + " has coordinates, so they cannot be found by position.");
}

// --- The walk ------------------------------------------------------------------

bool DomainShpDataLayer::WalksShapefile() const {
    return IsShapefileReaderValid() && !m_isDomainManagerDataMode && !m_isNearestMode && !IsPolygonContainsPointMode();
}

bool DomainShpDataLayer::MoveNext() {
    const int count = static_cast<int>(ElementIDs().size());
    if (m_isNearestMode) {
        if (m_nearestNodeVisited) return false;
        m_nearestNodeVisited = true;
        return m_nearestPvID != 0;
    }
    if (m_isDomainManagerDataMode) {
        if (m_pos < count) ++m_pos;
        return m_pos < count;
    }
    return NShpDataLayer::MoveNext();
}

void DomainShpDataLayer::Reset() {
    if (m_isNearestMode) {
        m_nearestNodeVisited = false;
    } else if (m_isDomainManagerDataMode) {
        m_pos = -1;
    } else {
        NShpDataLayer::Reset();
    }
}

int DomainShpDataLayer::FeatureCount() {
    if (m_isNearestMode) return m_nearestPvID != 0 ? 1 : 0;
    if (m_isDomainManagerDataMode) return static_cast<int>(ElementIDs().size());
    return NShpDataLayer::FeatureCount();
}

std::int32_t DomainShpDataLayer::CurrentElementID() {
    if (m_isNearestMode) return m_nearestPvID;
    if (m_isDomainManagerDataMode) {
        const auto& ids = ElementIDs();
        return m_pos >= 0 && m_pos < static_cast<int>(ids.size()) ? ids[static_cast<std::size_t>(m_pos)] : 0;
    }
    if (IsPolygonContainsPointMode()) {
        const auto* rows = ListFieldNameToValueResult();
        const int index = PointsInPolygonIndex();
        if (!rows || index < 0 || index >= static_cast<int>(rows->size())) return 0;
        const Shapefile::FieldNameToValueMap& row = *(*rows)[static_cast<std::size_t>(index)];
        return row.empty() ? 0 : Shapefile::AsInt32(row.begin()->second).value_or(0);
    }
    if (IsShapefileReaderValid()) return Shapefile::AsInt32(NShpDataLayer::GetObjectValue(kElementIDField)).value_or(0);
    return 0;
}

std::int32_t DomainShpDataLayer::RequireCurrentElementID() {
    const std::int32_t id = CurrentElementID();
    if (id == 0)
        throw Support::IndexOutOfRangeException("The layer " + Name() + " stands on no element; call MoveNext first.");
    return id;
}

// --- Values --------------------------------------------------------------------

std::int32_t DomainShpDataLayer::GetInt32Value(const std::string& fieldName) {
    if (m_isNearestMode) return m_nearestPvID;
    if (m_isDomainManagerDataMode) return RequireCurrentElementID();
    return NShpDataLayer::GetInt32Value(fieldName);
}

FieldValue DomainShpDataLayer::ModelValue(std::int32_t elementID, const std::string& fieldName) {
    if (fieldName == kElementIDField) return elementID;
    IDomainElementManager* manager = m_dataSet->DomainElementManager(m_dataSet->DomainElementTypeID(elementID));
    const Norvane::Domain::IModelingElementField* field = manager ? manager->ModelingElementField(fieldName) : nullptr;
    if (!field) throw Support::ArgumentException("The layer " + Name() + " has no field \"" + fieldName + "\".");
    return field->GetValue(elementID);
}

// Whether the row of the current point found in a polygon holds the field.
bool DomainShpDataLayer::RowHolds(const std::string& fieldName) const {
    return !m_isDomainManagerDataMode && !m_isNearestMode && IsPolygonContainsPointMode() &&
           CurrentResultRow().contains(fieldName);
}

FieldValue DomainShpDataLayer::GetObjectValue(const std::string& fieldName) {
    if (RowHolds(fieldName) || (WalksShapefile() && NShpDataLayer::FieldExists(fieldName)))
        return NShpDataLayer::GetObjectValue(fieldName);
    return ModelValue(RequireCurrentElementID(), fieldName);
}

double DomainShpDataLayer::GetDoubleValue(const std::string& fieldName) {
    if (RowHolds(fieldName)) return NShpDataLayer::GetDoubleValue(fieldName);
    return Shapefile::AsDouble(GetObjectValue(fieldName)).value_or(std::numeric_limits<double>::quiet_NaN());
}

std::vector<FieldValue> DomainShpDataLayer::GetUniqueValues(const std::string& fieldName) {
    std::unordered_set<FieldValue> values;
    for (const std::int32_t id : ElementIDs()) values.insert(ModelValue(id, fieldName));
    return {values.begin(), values.end()};
}

// --- Geometry --------------------------------------------------------------------

Support::GeometryObject DomainShpDataLayer::GetGeometryShape() {
    if (WalksShapefile()) return NShpDataLayer::GetGeometryShape();
    const std::int32_t id = CurrentElementID();
    return id != 0 ? GeometryOf(id) : Support::GeometryObject{};
}

std::intptr_t DomainShpDataLayer::GetGeometryShapeNative() {
    if (WalksShapefile()) return NShpDataLayer::GetGeometryShapeNative();
    return MapObjectsLT::MapObjectsLTDataTools::GetGeometryNative(GetGeometryShape());
}

GeometryPoint DomainShpDataLayer::GetCentroid() {
    if (WalksShapefile()) return NShpDataLayer::GetCentroid();
    const std::int32_t id = CurrentElementID();
    if (id == 0) return GeometryPoint::Empty();
    if (ShapeType() == DomainElementShapeType::Point) return PointOf(id);
    return Support::MathLibrary::CalculatePolylineCenterPoint(VerticesOf(id));
}

// --- Editing -----------------------------------------------------------------------

void DomainShpDataLayer::CreateField(const std::string&, Support::FieldDataType) { refuseEditing(); }
void DomainShpDataLayer::BeginUpdate() { refuseEditing(); }
void DomainShpDataLayer::AddNew(const Support::GeometryObject&, const FieldValuePairs&) { refuseEditing(); }
void DomainShpDataLayer::SetInt32Value(const std::string&, std::int32_t) { refuseEditing(); }
void DomainShpDataLayer::SetGeometry(const Support::GeometryObject&) { refuseEditing(); }
void DomainShpDataLayer::SetGeometryNative(std::intptr_t) { refuseEditing(); }
void DomainShpDataLayer::EndUpdate() { refuseEditing(); }

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
