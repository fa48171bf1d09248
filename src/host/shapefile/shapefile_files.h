// The files of one shapefile on disk and their contents in memory.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Norvane::Shapefile {

using FileImage = std::vector<unsigned char>;

// The bytes of a shapefile's files, as read from disk or handed over by a
// caller that holds them in memory. `name` is the path without extension
// that error messages name.
struct ShapefileImages {
    std::string name;
    FileImage shp;
    FileImage shx;
    FileImage dbf;
    std::optional<std::string> cpg;  // the code-page file's text, when there is one
    std::optional<std::string> prj;  // the projection file's text, when there is one
};

// The companion files of a shapefile; an extension matches in lower or upper case.
struct ShapefilePaths {
    std::string base;  // the path without extension
    std::string shp, shx, dbf;
    std::optional<std::string> cpg, prj;
};

// Accepts the path with or without its .shp extension. FileNotFoundException
// naming the first of .shp, .shx, .dbf that does not exist.
ShapefilePaths FindShapefileFiles(const std::string& path);

// `path` without a .shp, .shx or .dbf extension (in any case).
std::string ShapefileBasePath(const std::string& path);

// The companion of `base` with `extension` ("dbf"), in the case found on disk.
std::optional<std::string> FindCompanionFile(const std::string& base, const std::string& extension);

// The whole file; FileNotFoundException when it does not exist,
// ApplicationException naming it when it cannot be read.
FileImage ReadFileImage(const std::string& path);

ShapefileImages ReadShapefileImages(const ShapefilePaths& paths);

}  // namespace Norvane::Shapefile
