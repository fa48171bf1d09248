// The shapes and the attributes of a shapefile held in memory, each checked
// and both checked to hold the same number of records.
#pragma once

#include "host/shapefile/dbf_table.h"
#include "host/shapefile/shape_table.h"
#include "host/shapefile/shapefile_files.h"

namespace Norvane::Shapefile::Detail {

struct ShapefileTables {
    // `images` must outlive the tables. ApplicationException naming the file
    // that is damaged or disagrees with the others.
    explicit ShapefileTables(const ShapefileImages& images);

    ShapeTable shapes;
    DbfTable attributes;
};

}  // namespace Norvane::Shapefile::Detail
