// What the allocation tests share: a network model from the fixtures, data
// tools as a host makes them, and meter and polygon shapefiles written
// through the layer API.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "allocate/allocate.h"
#include "allocate/writers/new_shapefile.h"
#include "data/data.h"
#include "host/host.h"
#include "host/registry/registry_store.h"
#include "host/shapefile/shapefile_test_support.h"

namespace allocate_test {

using Norvane::Support::GeometryPoint;
using Norvane::Support::PointArray;
using Norvane::Support::PointArrayList;

using NoRegistry = Norvane::Support::EmptyRegistryStore;

struct TestMeter {
    std::string id;
    std::optional<GeometryPoint> point;  // none: a record without a shape
    std::optional<double> demand;        // none: a blank demand
};

struct TestPolygon {
    PointArrayList rings;  // outer rings clockwise, holes anticlockwise
    std::string node;      // for service polygons
    std::optional<double> demand;
};

// An axis-aligned rectangle as a clockwise ring (a shapefile's outer ring).
inline PointArray Box(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
}
// The same anticlockwise (a hole).
inline PointArray Hole(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
}

// A network model made the host's active model, with data tools over it.
class Session {
public:
    explicit Session(const std::string& modelFile = "Net1.inp")
        : m_modelPath(std::string(ALLOTRIX_TEST_DATA) + "/" + modelFile),
          m_model(Norvane::Domain::InpModel::Load(m_modelPath)) {
        m_library.ActiveDomainDataSet = &m_model->Model();
        m_library.DisplayLengthUnit = m_model->LengthUnit();
    }

    Norvane::Domain::InpModel& Model() { return *m_model; }
    Norvane::Allotrix::Calculations::Data::StandardDataTools& Tools() { return m_tools; }
    const std::string& ModelPath() const { return m_modelPath; }
    const shapefile_test::ScratchFolder& Folder() const { return m_folder; }

    Allotrix::Allocate::AllocationInputs Inputs(const std::string& sources, const std::string& services = {}) {
        return {*m_model, m_modelPath, m_tools, m_tools, sources, services};
    }

    std::string WriteMeters(const std::string& name, const std::vector<TestMeter>& meters) {
        const std::string path = m_folder.File(name);
        Allotrix::Allocate::WriteNewShapefile(m_tools, path, Norvane::Domain::DomainElementShapeType::Point,
                                              {{"METER_ID", Norvane::Support::FieldDataType::Text},
                                               {"DEMAND", Norvane::Support::FieldDataType::Real}},
                                              [&](auto& edit) {
                                                  for (const TestMeter& meter : meters) {
                                                      Norvane::Support::GeometryObject shape;
                                                      if (meter.point) shape = *meter.point;
                                                      edit.AddNew(shape, {{"METER_ID", meter.id},
                                                                          {"DEMAND", demandValue(meter.demand)}});
                                                  }
                                              });
        return path;
    }

    std::string WritePolygons(const std::string& name, const std::vector<TestPolygon>& polygons) {
        const std::string path = m_folder.File(name);
        Allotrix::Allocate::WriteNewShapefile(
            m_tools, path, Norvane::Domain::DomainElementShapeType::Polygon,
            {{"NODE", Norvane::Support::FieldDataType::Text}, {"DEMAND", Norvane::Support::FieldDataType::Real}},
            [&](auto& edit) {
                for (const TestPolygon& polygon : polygons)
                    edit.AddNew(polygon.rings, {{"NODE", polygon.node}, {"DEMAND", demandValue(polygon.demand)}});
            });
        return path;
    }

private:
    static Norvane::Support::FieldValue demandValue(const std::optional<double>& demand) {
        return demand ? Norvane::Support::FieldValue(*demand) : Norvane::Support::FieldValue{};
    }

    std::string m_modelPath;
    std::unique_ptr<Norvane::Domain::InpModel> m_model;
    Norvane::Allotrix::Calculations::AllotrixLibrary m_library;
    NoRegistry m_registry;
    Norvane::Allotrix::Calculations::Data::StandardDataTools m_tools{m_library, m_registry};
    shapefile_test::ScratchFolder m_folder;
};

inline Allotrix::Allocate::AllocationOptions ServiceOptions(Allotrix::Allocate::AllocationMethod method) {
    Allotrix::Allocate::AllocationOptions options;
    options.method = method;
    options.demandField = "DEMAND";
    options.idField = method == Allotrix::Allocate::AllocationMethod::ServiceArea ? "METER_ID" : "";
    options.nodeField = "NODE";
    return options;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace allocate_test
