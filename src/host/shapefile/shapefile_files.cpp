#include "host/shapefile/shapefile_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "host/support/exceptions.h"

namespace Norvane::Shapefile {
namespace {

using Support::ApplicationException;
using Support::FileNotFoundException;

std::string caseOf(const std::string& text, int (*convert)(int)) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return out;
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string requireCompanion(const std::string& base, const std::string& extension) {
    if (auto found = FindCompanionFile(base, extension)) return *found;
    throw FileNotFoundException("File not found: " + base + "." + extension + ".");
}

[[noreturn]] void failRead(const std::string& path, int error) {
    if (error == ENOENT) throw FileNotFoundException("File not found: " + path + ".");
    throw ApplicationException("Could not read " + path + ": " + std::strerror(error) + ".");
}

}  // namespace

std::string ShapefileBasePath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    const std::string extension = caseOf(path.substr(dot + 1), ::tolower);
    return extension == "shp" || extension == "shx" || extension == "dbf" ? path.substr(0, dot) : path;
}

std::optional<std::string> FindCompanionFile(const std::string& base, const std::string& extension) {
    for (const std::string& candidate : {base + "." + caseOf(extension, ::tolower), base + "." + caseOf(extension, ::toupper)})
        if (isRegularFile(candidate)) return candidate;
    return std::nullopt;
}

ShapefilePaths FindShapefileFiles(const std::string& path) {
    ShapefilePaths paths;
    paths.base = ShapefileBasePath(path);
    const bool namesShp = caseOf(path.substr(paths.base.size()), ::tolower) == ".shp";
    paths.shp = namesShp && isRegularFile(path) ? path : requireCompanion(paths.base, "shp");
    paths.shx = requireCompanion(paths.base, "shx");
    paths.dbf = requireCompanion(paths.base, "dbf");
    paths.cpg = FindCompanionFile(paths.base, "cpg");
    paths.prj = FindCompanionFile(paths.base, "prj");
    return paths;
}

FileImage ReadFileImage(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) failRead(path, errno);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = errno != 0 ? errno : EISDIR;
        ::close(descriptor);
        failRead(path, error);
    }
    FileImage image(static_cast<std::size_t>(status.st_size));
    std::size_t filled = 0;
    while (filled < image.size()) {
        const ssize_t got = ::read(descriptor, image.data() + filled, image.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(descriptor);
            failRead(path, error);
        }
        if (got == 0) break;  // the file shrank while being read
        filled += static_cast<std::size_t>(got);
    }
    ::close(descriptor);
    image.resize(filled);
    return image;
}

ShapefileImages ReadShapefileImages(const ShapefilePaths& paths) {
    ShapefileImages images;
    images.name = paths.base;
    images.shp = ReadFileImage(paths.shp);
    images.shx = ReadFileImage(paths.shx);
    images.dbf = ReadFileImage(paths.dbf);
    const auto readText = [](const std::optional<std::string>& path) -> std::optional<std::string> {
        if (!path) return std::nullopt;
        const FileImage text = ReadFileImage(*path);
        return std::string(text.begin(), text.end());
    };
    images.cpg = readText(paths.cpg);
    images.prj = readText(paths.prj);
    return images;
}

}  // namespace Norvane::Shapefile
