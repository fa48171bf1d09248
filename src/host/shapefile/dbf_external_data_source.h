// A .dbf opened on its own, to add fields to a shapefile's attributes
// without touching its shapes. Changes reach the file only when Close
// succeeds, as with the shapefile writer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/shapefile/dbf_field_info.h"

namespace Norvane::Shapefile {

class DBFExternalDataSource {
public:
    // Opens the .dbf at `path`, whose extension matches in any case ("X.DBF"
    // finds X.dbf). Without `openForUpdate` the file is only read; with
    // `createIfMissing` a missing file is created empty. FileNotFoundException
    // for a missing file; ApplicationException naming a damaged one or one
    // that cannot be staged for writing.
    DBFExternalDataSource(const std::string& path, bool openForUpdate, bool createIfMissing);
    // Drops changes not yet committed by Close.
    ~DBFExternalDataSource();
    DBFExternalDataSource(const DBFExternalDataSource&) = delete;
    DBFExternalDataSource& operator=(const DBFExternalDataSource&) = delete;

    const std::string& Path() const { return m_path; }
    int RecordCount() const;
    std::vector<std::string> GetFieldNames() const;
    // ArgumentException for a name or layout the file cannot take;
    // InvalidOperationException when not opened for update or closed.
    void AddField(const DBFFieldInfo& info);
    // Writes the changes; ApplicationException naming the file when that
    // fails, leaving it as it was. Closed afterwards either way.
    void Close();

private:
    struct Impl;
    std::string m_path;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace Norvane::Shapefile
