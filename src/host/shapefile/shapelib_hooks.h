// shapelib's I/O hooks bound to a StreamProvider. The hooks are plain function
// pointers without a context argument, so the provider travels in the file
// name that shapelib passes back to FOpen.
#pragma once

#include <shapefil.h>

#include <string>

#include "host/shapefile/hook_stream.h"

namespace Norvane::Shapefile::Detail {

struct ProviderHooks {
    SAHooks hooks;
    // The name to give SHPOpenLL / DBFOpenLL; shapelib appends the extension.
    std::string name;
};

// `provider` must outlive every handle opened with the result.
ProviderHooks HooksFor(StreamProvider& provider);

}  // namespace Norvane::Shapefile::Detail
