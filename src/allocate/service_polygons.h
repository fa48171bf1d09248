// The service polygons of a service-area or area-proportional allocation:
// each record names, in one field, the junction that serves it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/calculations/i_data_layer.h"

namespace Norvane::Domain {
class InpModel;
}

namespace Allotrix::Allocate {

struct ServicePolygon {
    std::int32_t nodeId = 0;
    std::string nodeLabel;
    int ringCount = 0;         // 0: the record has no usable shape
    std::size_t pointCount = 0;  // all rings, with one separator between two
    double area = 0.0;         // by the rings' own coordinates
};

class ServicePolygons {
public:
    // Reads every record. InputError naming the file for a layer that is not
    // of polygons, a missing node field, or a record whose node is no
    // junction of the model; a record without a usable shape is a warning.
    ServicePolygons(Norvane::Allotrix::Calculations::IDataLayer& layer, std::string fileName, std::string nodeField,
                    const Norvane::Domain::InpModel& model, const std::string& modelName,
                    std::vector<std::string>& warnings);

    const std::string& FileName() const { return m_fileName; }
    const std::string& NodeField() const { return m_nodeField; }
    const std::vector<ServicePolygon>& Records() const { return m_records; }
    // The junction named by the layer's current record.
    std::int32_t CurrentNode(Norvane::Allotrix::Calculations::IDataLayer& layer) const;

private:
    std::string m_fileName;
    std::string m_nodeField;
    std::vector<ServicePolygon> m_records;
    std::unordered_map<std::string, std::int32_t> m_nodeOfLabel;
};

// Points of the rings with one separator between two, as the native
// operations lay them into their working buffer.
std::size_t BufferPointCount(const Norvane::Support::PointArrayList& rings);
// The area of the rings by the even-odd rule from their own coordinates.
double RingsArea(const Norvane::Support::PointArrayList& rings);

// Points (separators included) that the native working buffer holds.
inline constexpr std::size_t kBufferPointCapacity = 4999;

}  // namespace Allotrix::Allocate
