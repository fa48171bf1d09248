// Adding a field to an open .dbf: the dBASE layout of a DBFFieldInfo, checked
// against the format's limits and the fields already there.
#pragma once

#include <shapefil.h>

#include <string>

#include "host/shapefile/dbf_field_info.h"
#include "host/shapefile/dbf_field_table.h"

namespace Norvane::Shapefile::Detail {

// Adds `info` to `dbf`. ArgumentException naming `fileName` for a name that
// is empty, longer than 10 bytes, not plain ASCII or already taken, and for a
// width the type cannot have; ApplicationException when shapelib refuses.
void AddDbfField(DBFHandle dbf, const DBFFieldInfo& info, const DbfFieldTable& existing, const std::string& fileName);

// A .dbf without fields or records.
std::string EmptyDbfImage();

}  // namespace Norvane::Shapefile::Detail
