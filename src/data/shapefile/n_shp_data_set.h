// A folder of shapefiles as a data set: one layer per ".shp" file in it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/calculations/allotrix_library.h"
#include "host/calculations/i_data_set.h"

namespace Norvane::Allotrix::Calculations::Data {

class ShpDataSetBase : public IDataSet {
public:
    explicit ShpDataSetBase(const AllotrixLibrary* library) : m_library(library) {}

    // Sets the folder; nothing is read until layers are asked for.
    void Open(const std::string& path) { m_path = path; }
    // One new layer per name of DataLayerNames(), in that order.
    std::vector<std::unique_ptr<IDataLayer>> DataLayers();

    std::unique_ptr<IDataLayer> DataLayer(const std::string& name) override { return NewDataLayer(name); }
    // The full paths of the folder's files named "*.shp" (any letter case),
    // sorted; an unreadable folder has none.
    std::vector<std::string> DataLayerNames() override;
    void Dispose() override {}
    std::string Path() override { return m_path; }
    // Shapefiles carry no unit: they are taken to be in the display unit.
    Support::LengthUnit LengthUnit() override;

protected:
    virtual std::unique_ptr<IDataLayer> NewDataLayer(const std::string& fileName) = 0;
    const AllotrixLibrary* Library() const { return m_library; }

private:
    const AllotrixLibrary* m_library;
    std::string m_path = "C:\\";
};

namespace Shapefile {

class NShpDataSet final : public ShpDataSetBase {
public:
    using ShpDataSetBase::ShpDataSetBase;

protected:
    std::unique_ptr<IDataLayer> NewDataLayer(const std::string& fileName) override;
};

}  // namespace Shapefile
}  // namespace Norvane::Allotrix::Calculations::Data
