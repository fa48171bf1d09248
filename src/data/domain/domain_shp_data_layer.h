// Elements of the open model (nodes as points, pipes as polylines) served as
// a layer like any shapefile: walked one element after another, filtered by
// nearness (the nearest node to a point, the nearest pipe to a point or a
// polyline) and by polygon, read through the single field "ElementID" and
// the model's own fields.
//
// A layer starts in the element walk. The first filter leaves it: the
// nearest filter yields the one nearest element until EndFilter; the
// point-in-polygon filter yields the nodes inside the polygon; any other
// filter runs the shapefile filters on a temporary copy of the elements.
// After EndFilter an unfiltered walk reads that copy when there is one and
// walks the elements again otherwise. Every index is built once per layer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/shapefile/n_shp_data_layer.h"
#include "host/domain/i_domain_data_set.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

class NodeSearchIndex;
class PipeSearchIndex;
class TemporaryShapefile;

class DomainShpDataLayer : public Shapefile::NShpDataLayer {
public:
    // `library` gives the display length unit, in which the layer hands out
    // every coordinate; it must outlive the layer (null: the defaults).
    explicit DomainShpDataLayer(const AllotrixLibrary* library = nullptr);
    ~DomainShpDataLayer() override;

    // The elements of the types (each with its sub-types, in the given
    // order), all of them (selection set 0) or those of the selection set.
    // The data set must outlive the layer. ArgumentException for polygon
    // element types and for types of different shapes; an ID naming no
    // type is skipped.
    void Open(Norvane::Domain::IDomainDataSet& dataSet, const std::vector<int>& listDomainElementTypeIDs,
              std::int32_t selectionSetID);
    void Open(Norvane::Domain::IDomainDataSet& dataSet, const std::string& domainElementTypeName,
              std::int32_t selectionSetID);

    // --- IDataLayer
    using NShpDataLayer::Dispose;
    void BeginFilter(const SpatialFilterContext& context, bool forwardOnly) override;
    void EndFilter() override;
    bool MoveNext() override;
    void Reset() override;
    int FeatureCount() override;
    void InitializeDataLater(const std::string& layerIDFieldName) override;
    // The first type's name, "\", and the selection set's label or the
    // text of "zordd.info.AllElements".
    std::string Name() override;
    Norvane::Domain::DomainElementShapeType ShapeType() override;
    std::vector<std::string> GetFieldNames() override;
    bool FieldExists(const std::string& fieldName) override;
    Support::FieldDataType GetFieldDataType(const std::string& fieldName) override;
    std::unique_ptr<IDataSet> GetDataSet() override;
    // The current element's ID whatever the name, in the element walk and
    // in nearest mode.
    std::int32_t GetInt32Value(const std::string& fieldName) override;
    double GetDoubleValue(const std::string& fieldName) override;
    // "ElementID", or the model's field of that name, of the current element.
    Support::FieldValue GetObjectValue(const std::string& fieldName) override;
    std::vector<Support::FieldValue> GetUniqueValues(const std::string& fieldName) override;
    // A node's point or a pipe's vertices, in the display length unit.
    Support::GeometryObject GetGeometryShape() override;
    std::intptr_t GetGeometryShapeNative() override;
    Support::GeometryPoint GetCentroid() override;

    // --- IEditDataLayer: the model is not edited through its layers
    // (NotSupportedException).
    void CreateField(const std::string& name, Support::FieldDataType type) override;
    void BeginUpdate() override;
    void AddNew(const Support::GeometryObject& geometry, const FieldValuePairs& values) override;
    void SetInt32Value(const std::string& fieldName, std::int32_t value) override;
    void SetGeometry(const Support::GeometryObject& geometry) override;
    void SetGeometryNative(std::intptr_t geometry) override;
    void EndUpdate() override;

protected:
    void Dispose(bool disposing) override;
    void InitializeGeometryPointsForPolygonContainsPointRangeTree(std::vector<Support::GeometryPoint>& points,
                                                                  std::vector<Shapefile::FieldNameToValueMap>& rows,
                                                                  const std::vector<std::string>& fieldNames) override;

private:
    Norvane::Domain::IDomainElementManager& FirstManager() const;
    // Loads the element IDs and their types once (InitializeIDs).
    const std::vector<std::int32_t>& ElementIDs();
    void InitializeIDsFromManagers();
    void InitializeIDsFromSelectionSet();
    void AppendElement(std::int32_t elementID, int elementTypeID);

    // The field giving the element's geometry in the display length unit,
    // cached per element type.
    Norvane::Domain::IGeometryField& GetGeometryField(std::int32_t elementID);
    Support::GeometryPoint PointOf(std::int32_t elementID);
    Support::PointArray VerticesOf(std::int32_t elementID);
    Support::GeometryObject GeometryOf(std::int32_t elementID);
    // ApplicationException when elements were asked for and none of them
    // has coordinates: a spatial question about them would find nothing.
    void RequireCoordinates(std::size_t elementsAsked, std::size_t elementsWithCoordinates);
    // "ElementID" or the model's field of that name.
    Support::FieldValue ModelValue(std::int32_t elementID, const std::string& fieldName);

    // Whether the shapefile side answers: a temporary copy is open and the
    // layer is in none of its own modes.
    bool WalksShapefile() const;
    bool RowHolds(const std::string& fieldName) const;
    // The element the layer stands on; 0 for none.
    std::int32_t CurrentElementID();
    std::int32_t RequireCurrentElementID();

    void BeginNearestFilter(const SpatialFilterContext& context);
    void SearchNearestPoint(const Support::GeometryPoint& point);
    void SearchNearestPolyline(const Support::GeometryPoint& point);
    void SearchNearestPolyline(const Support::PointArray& points);
    // Each index is built on the first filter that needs it; the pipe index
    // leaves out the pipes that filter's IsValidID rejects.
    void InitializePointSearcher();
    void InitializePolylineRangeTree(const SpatialFilterContext& context);
    void CreateShapefile();
    void WriteElements(const std::string& shpPath);

    Norvane::Domain::IDomainDataSet* m_dataSet = nullptr;
    std::vector<Norvane::Domain::IDomainElementManager*> m_listDomainElementManager;
    std::int32_t m_selectionSetID = 0;
    std::optional<std::vector<std::int32_t>> m_elementIDs;
    std::unordered_map<std::int32_t, int> m_dicElementIDToElementTypeIDMap;
    std::unordered_map<int, Norvane::Domain::IGeometryField*> m_dicElementTypeIDToGeometryFieldMap;
    std::optional<Norvane::Domain::DomainElementShapeType> m_shapeType;

    int m_pos = -1;
    bool m_isDomainManagerDataMode = true;
    bool m_isNearestMode = false;
    bool m_nearestNodeVisited = false;
    std::int32_t m_nearestPvID = 0;

    std::unique_ptr<NodeSearchIndex> m_nodeIndex;
    std::unique_ptr<PipeSearchIndex> m_pipeIndex;
    std::unique_ptr<TemporaryShapefile> m_shapefile;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
