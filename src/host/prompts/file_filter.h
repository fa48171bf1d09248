// The file types a file prompt offers, written as the usual filter text:
// pairs of description and patterns separated by bars,
// "Esri Shapefiles (*.shp)|*.shp|All files (*.*)|*.*", several patterns of
// one type separated by semicolons.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Norvane::VaultixFacade {

struct FileType {
    std::string Description;
    std::vector<std::string> Patterns;  // "*.shp", "*.*", "data?.txt"
};

// The types of `filter`, in order; none for an empty text.
// ArgumentException when a description lacks its patterns or a pattern is
// empty.
std::vector<FileType> ParseFileFilter(const std::string& filter);

// The extension a typed name without one gets: that of the first type's
// first pattern when it names one plainly ("*.shp" gives ".shp"; "*.*" and
// "a*.t?t" give nothing).
std::optional<std::string> DefaultExtension(const std::vector<FileType>& types);

}  // namespace Norvane::VaultixFacade
