// A shapefile under a fresh name in the system's temporary folder, for the
// filters a model-element layer runs on a copy of its elements.
#pragma once

#include <filesystem>
#include <string>

namespace Norvane::Allotrix::Calculations::Data::Domain {

class TemporaryShapefile {
public:
    // Reserves a name nobody else holds: the system makes a unique file,
    // which is deleted at once; its path is the base of the shapefile.
    // ApplicationException when the temporary folder cannot be written.
    TemporaryShapefile();
    ~TemporaryShapefile() { Remove(); }
    TemporaryShapefile(const TemporaryShapefile&) = delete;
    TemporaryShapefile& operator=(const TemporaryShapefile&) = delete;

    // The path without extension, and with ".shp".
    const std::string& BasePath() const { return m_basePath; }
    std::string ShpPath() const { return m_basePath + ".shp"; }

    // Deletes every file of the folder named like the shapefile with any
    // extension (".shp", ".dbf", ".cpg", a writer's staging copy ...). A
    // file that cannot be deleted is skipped: nothing here may fail.
    void Remove() noexcept;

private:
    std::string m_basePath;
};

}  // namespace Norvane::Allotrix::Calculations::Data::Domain
