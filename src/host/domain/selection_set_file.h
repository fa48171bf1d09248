// Selection sets read from a text file of element labels:
//
//   ; Junctions and mains of the north pressure zone
//   [North zone]
//   J-12
//   J-14
//   Pipe 10        ; a type label first picks one of elements sharing a label
//   [Trunk mains]
//   P-1
//
// Each "[name]" starts a set; labels before the first one form a set named
// after the file (without its extension). One label per line, optionally
// preceded by an element type label (any letter case); ";" starts a comment,
// '"' quotes a label holding blanks. A label that names no element, or more
// than one without a type to choose, is an ApplicationException naming the
// file and line; so is a set name that is empty, holds "\" or "/", or is
// already used. Nothing is added unless the whole file is good.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/domain/domain_model.h"

namespace Norvane::Domain {

class SelectionSetFile {
public:
    // Adds the file's sets to `model` and returns their IDs in file order.
    // FileNotFoundException when the file is missing or cannot be read.
    static std::vector<std::int32_t> Load(const std::filesystem::path& path, DomainModel& model);
    static std::vector<std::int32_t> Parse(std::string_view text, const std::string& sourceName,
                                           const std::string& defaultSetName, DomainModel& model);
};

}  // namespace Norvane::Domain
