#include "host/shapefile/shapefile_tables.h"

#include "host/support/exceptions.h"

namespace Norvane::Shapefile::Detail {

ShapefileTables::ShapefileTables(const ShapefileImages& images)
    : shapes(images.shp, images.shx, images.name), attributes(images.dbf, images.name + ".dbf", images.cpg) {
    if (shapes.RecordCount() != attributes.RecordCount())
        throw Support::ApplicationException(images.name + ".shx lists " + std::to_string(shapes.RecordCount()) +
                                            " shapes but " + images.name + ".dbf holds " +
                                            std::to_string(attributes.RecordCount()) + " records.");
}

}  // namespace Norvane::Shapefile::Detail
