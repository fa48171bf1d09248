// The kinds of attribute a layer reports for its fields.
#pragma once

namespace Norvane::Support {

enum class FieldDataType : int {
    Integer = 1,
    Real = 2,
    Text = 3,
    LongText = 4,  // written as the widest text field a shapefile can hold
    Date = 5,
    Boolean = 6,
};

}  // namespace Norvane::Support
