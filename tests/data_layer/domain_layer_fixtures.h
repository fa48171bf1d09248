// What the model-element layer tests share: a small town built in code, a
// stand-in for the layer a host filters against, and a temporary folder
// that catches every temporary file the library makes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "data/data.h"
#include "host/host.h"
#include "native/native.h"

namespace domain_test {

namespace fs = std::filesystem;
using namespace Norvane::Allotrix::Calculations;
using namespace Norvane::Domain;
using Norvane::Support::GeometryObject;
using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

// Junctions J1 (0,0), J2 (100,0), J3 (100,100); tank T1 (0,100); reservoir
// R1 (-100,0); pipes P1 J1-J2, P2 J2-J3, P3 J3-T1 (bending through
// (50,150)), P4 R1-J1; pump U1 T1-J1. Selection set "North" holds J3, P2,
// T1, P3; the model is in metres, and so is the display.
struct Town {
    Town() {
        DomainModelBuilder builder(Norvane::Support::LengthUnit::Metre);
        const int junction = TypeId(NetworkElementType::Junction), pipe = TypeId(NetworkElementType::Pipe);
        j1 = builder.AddNode(junction, "J1", {0, 0});
        j2 = builder.AddNode(junction, "J2", {100, 0});
        j3 = builder.AddNode(junction, "J3", {100, 100});
        t1 = builder.AddNode(TypeId(NetworkElementType::Tank), "T1", {0, 100});
        r1 = builder.AddNode(TypeId(NetworkElementType::Reservoir), "R1", {-100, 0});
        p1 = builder.AddLink(pipe, "P1", j1, j2);
        p2 = builder.AddLink(pipe, "P2", j2, j3);
        p3 = builder.AddLink(pipe, "P3", j3, t1, {{50, 150}});
        p4 = builder.AddLink(pipe, "P4", r1, j1);
        u1 = builder.AddLink(TypeId(NetworkElementType::Pump), "U1", t1, j1);
        builder.SetValue(p1, FieldNames::Diameter, 300.0);
        builder.SetValue(p2, FieldNames::Diameter, 150.0);
        model = builder.Build();
        north = model->AddSelectionSet("North", {j3, p2, t1, p3});
        library.ActiveDomainDataSet = model.get();
        library.DisplayLengthUnit = Norvane::Support::LengthUnit::Metre;
    }

    std::unique_ptr<Data::Domain::DomainShpDataLayer> Layer(const std::vector<int>& types, std::int32_t set = 0) {
        auto layer = std::make_unique<Data::Domain::DomainShpDataLayer>(&library);
        layer->Open(*model, types, set);
        return layer;
    }

    std::unique_ptr<DomainModel> model;
    AllotrixLibrary library;
    std::int32_t j1, j2, j3, t1, r1, p1, p2, p3, p4, u1, north;
};

// A layer standing on one feature, as the layer a host filters against.
class FeatureProbe final : public Data::Shapefile::NShpDataLayer {
public:
    FeatureProbe(DomainElementShapeType shape, GeometryObject geometry) : m_shape(shape), m_geometry(std::move(geometry)) {}
    static FeatureProbe Point(double x, double y) { return {DomainElementShapeType::Point, GeometryPoint{x, y}}; }
    static FeatureProbe Polygon(PointArray ring) { return {DomainElementShapeType::Polygon, PointArrayList{std::move(ring)}}; }
    static FeatureProbe Polyline(PointArray part) { return {DomainElementShapeType::Polyline, PointArrayList{std::move(part)}}; }

    // Stands on another feature of the same shape.
    void MoveTo(GeometryPoint point) { m_geometry = point; }
    void MoveTo(PointArrayList parts) { m_geometry = std::move(parts); }
    DomainElementShapeType ShapeType() override { return m_shape; }
    GeometryObject GetGeometryShape() override { return m_geometry; }
    std::intptr_t GetGeometryShapeNative() override {
        return Data::MapObjectsLT::MapObjectsLTDataTools::GetGeometryNative(m_geometry);
    }
    GeometryPoint GetCentroid() override {
        if (const auto* point = std::get_if<GeometryPoint>(&m_geometry)) return *point;
        const std::unique_ptr<Korvex::NativeGeometry> native(Korvex::FromHandle(GetGeometryShapeNative()));
        Korvex::NativeGeometryPoint centroid{NAN, NAN, 0.0};
        double area = 0.0;
        Korvex::CStandAloneDataTools::GetPolygonCentroidAndArea(native.get(), &centroid, &area);
        return {centroid.x, centroid.y};
    }

private:
    DomainElementShapeType m_shape;
    GeometryObject m_geometry;
};

using NoRegistry = Norvane::Support::EmptyRegistryStore;

inline SpatialFilterContext Against(IDataLayer& reference, SpatialFilterRelationType relation) {
    SpatialFilterContext context;
    context.RelationType = relation;
    context.ReferencedLayer = &reference;
    return context;
}

// Points TMPDIR at a fresh folder while it lives, so that a test sees every
// temporary file the library makes.
class TemporaryFolder {
public:
    TemporaryFolder() {
        if (const char* old = ::getenv("TMPDIR")) m_old = old;
        std::string pattern = (fs::temp_directory_path() / "allotrix-domain-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
        ::setenv("TMPDIR", m_path.c_str(), 1);
    }
    ~TemporaryFolder() {
        if (m_old) {
            ::setenv("TMPDIR", m_old->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    bool IsEmpty() const { return fs::is_empty(m_path); }

private:
    fs::path m_path;
    std::optional<std::string> m_old;
};

}  // namespace domain_test
