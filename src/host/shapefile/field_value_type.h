// The kind of value a shapefile attribute field yields.
#pragma once

namespace Norvane::Shapefile {

enum class FieldValueType {
    Int16,
    Int32,
    Int64,
    Single,
    Double,
    String,
    Boolean,
    DateTime,
};

}  // namespace Norvane::Shapefile
