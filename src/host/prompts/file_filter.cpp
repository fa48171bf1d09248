#include "host/prompts/file_filter.h"

#include <string_view>

#include "host/support/exceptions.h"

namespace Norvane::VaultixFacade {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (true) {
        const std::size_t at = text.find(separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

}  // namespace

std::vector<FileType> ParseFileFilter(const std::string& filter) {
    std::vector<FileType> types;
    if (filter.empty()) return types;
    const std::vector<std::string> parts = Split(filter, '|');
    if (parts.size() % 2 != 0)
        throw Support::ArgumentException("The file filter \"" + filter + "\" pairs every description with patterns.");
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FileType& type = types.emplace_back();
        type.Description = parts[i];
        for (std::string& pattern : Split(parts[i + 1], ';')) {
            if (pattern.empty())
                throw Support::ArgumentException("The file filter \"" + filter + "\" has an empty pattern.");
            type.Patterns.push_back(std::move(pattern));
        }
    }
    return types;
}

std::optional<std::string> DefaultExtension(const std::vector<FileType>& types) {
    if (types.empty()) return std::nullopt;
    const std::string& pattern = types.front().Patterns.front();
    if (!pattern.starts_with("*.") || pattern.size() == 2) return std::nullopt;
    const std::string extension = pattern.substr(1);
    if (extension.find_first_of("*?") != std::string::npos) return std::nullopt;
    return extension;
}

}  // namespace Norvane::VaultixFacade
