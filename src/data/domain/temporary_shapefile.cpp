#include "data/domain/temporary_shapefile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/support/exceptions.h"

namespace Norvane::Allotrix::Calculations::Data::Domain {

TemporaryShapefile::TemporaryShapefile() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    std::string pattern = ((error ? std::filesystem::path("/tmp") : folder) / "allotrix-elements-XXXXXX").string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        throw Support::ApplicationException("Could not create a temporary file " + pattern + ": " +
                                            std::strerror(errno) + ".");
    ::close(descriptor);
    ::unlink(pattern.c_str());
    m_basePath = std::move(pattern);
}

void TemporaryShapefile::Remove() noexcept {
    if (m_basePath.empty()) return;
    const std::filesystem::path base(m_basePath);
    const std::string prefix = base.filename().string() + ".";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(base.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code ignored;
        std::filesystem::remove(entry->path(), ignored);
    }
}

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
