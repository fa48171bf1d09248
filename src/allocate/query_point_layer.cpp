#include "allocate/query_point_layer.h"

#include "host/support/exceptions.h"

namespace Allotrix::Allocate {

void QueryPointLayer::Refuse() {
    throw Norvane::Support::NotSupportedException("the query point layer only gives its point");
}

}  // namespace Allotrix::Allocate
