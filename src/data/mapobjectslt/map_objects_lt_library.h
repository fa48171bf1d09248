// Shape-kind and field-type tables, and the creation of empty shapefiles from
// the embedded prototypes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "host/domain/domain_element_shape_type.h"
#include "host/shapefile/dbf_field_info.h"
#include "host/support/field_data_type.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {

class MapObjectsLTLibrary {
public:
    MapObjectsLTLibrary() = delete;

    // ESRI shape type -> shape kind; IndexOutOfRangeException for types the
    // layers do not serve (MultiPointZ and MultiPointM among them).
    static Norvane::Domain::DomainElementShapeType GetShapeType(int geometryType);
    // Layer field type -> shapefile field type; IndexOutOfRangeException for
    // values outside the enumeration.
    static Norvane::Shapefile::DBFFieldType GetDBFFieldType(Support::FieldDataType type);

    // Writes basePath + ".shp", ".shx" and ".dbf" from the prototypes of
    // `shapeType`, replacing files of those names. The three files are staged
    // beside their targets and put in place only when all were written, so a
    // failed write leaves existing files as they were; the error names the
    // file that failed. ArgumentException for a shape kind outside 0..2,
    // before anything is written.
    static void CreateShapefile(const std::string& basePath, Norvane::Domain::DomainElementShapeType shapeType);

    // Writes `stream` to `fileName` in chunks of 32768 bytes, replacing the
    // file; ApplicationException naming the file when it cannot be written.
    static void CreateFileOnDisk(const std::string& fileName, std::span<const std::uint8_t> stream);
};

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
