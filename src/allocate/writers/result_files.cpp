#include "allocate/writers/result_files.h"

#include <stdlib.h>

#include <fstream>
#include <future>
#include <stdexcept>

#include "allocate/allocation_errors.h"
#include "allocate/writers/connector_shapefile.h"
#include "allocate/writers/csv_tables.h"
#include "allocate/writers/map_page.h"
#include "host/domain/inp/inp_model.h"

namespace Allotrix::Allocate {

namespace fs = std::filesystem;

namespace {

fs::path withSuffix(const fs::path& prefix, const std::string& suffix) {
    fs::path path = prefix;
    path += suffix;
    return path;
}

ResultFiles inFolder(const ResultFiles& files, const fs::path& folder) {
    return {folder / files.model.filename(), folder / files.nodeTable.filename(),
            folder / files.unallocatedTable.filename(), folder / files.connectors.filename(),
            folder / files.map.filename()};
}

template <typename Write>
void writeText(const fs::path& path, Write&& write) {
    std::ofstream out(path, std::ios::binary);
    write(out);
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

ResultFiles ResultFiles::ForPrefix(const fs::path& prefix) {
    return {withSuffix(prefix, ".inp"), withSuffix(prefix, "-nodes.csv"), withSuffix(prefix, "-unallocated.csv"),
            withSuffix(prefix, "-connectors.shp"), withSuffix(prefix, "-map.html")};
}

std::vector<fs::path> ResultFiles::All() const {
    std::vector<fs::path> all = {model, nodeTable, unallocatedTable, map, connectors};
    for (const char* sibling : {".shx", ".dbf", ".cpg", ".prj"}) all.push_back(fs::path(connectors).replace_extension(sibling));
    return all;
}

ResultStaging::ResultStaging(ResultFiles targets, bool force) : m_targets(std::move(targets)), m_force(force) {
    std::error_code error;
    if (!force)
        for (const fs::path& target : m_targets.All())
            if (fs::exists(target, error))
                throw InputError(target.string() + ": exists already; name other outputs (--output) or pass --force");
    const fs::path parent = m_targets.model.parent_path().empty() ? fs::path(".") : m_targets.model.parent_path();
    if (!fs::is_directory(parent, error)) throw InputError(parent.string() + ": no such folder for the outputs");
    std::string name = ".";
    name += m_targets.model.stem().string();
    name += ".partial-XXXXXX";
    std::string pattern = (parent / name).string();
    if (!::mkdtemp(pattern.data())) throw InputError(parent.string() + ": cannot create files in this folder");
    m_folder = pattern;
    m_staged = inFolder(m_targets, m_folder);
}

ResultStaging::~ResultStaging() {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

void ResultStaging::Commit() {
    const std::vector<fs::path> staged = m_staged.All(), targets = m_targets.All();
    // A file that appeared since the check is not replaced either.
    if (!m_force)
        for (std::size_t i = 0; i < staged.size(); ++i)
            if (fs::exists(staged[i]) && fs::exists(targets[i]))
                throw InputError(targets[i].string() + ": appeared while the allocation ran; nothing was written");
    for (std::size_t i = 0; i < staged.size(); ++i)
        if (fs::exists(staged[i])) fs::rename(staged[i], targets[i]);
}

std::vector<NodeDemandChange> WriteResultFiles(const ResultFiles& files, Norvane::Domain::InpModel& model,
                                               const std::string& modelName, const AllocationResult& result,
                                               const DemandWriteOptions& options,
                                               Norvane::Allotrix::Calculations::IDataTools& tools) {
    std::vector<NodeDemandChange> changes = WriteDemandsIntoModel(model, result, options);
    model.Save(files.model);
    writeText(files.nodeTable, [&](std::ostream& out) { WriteNodeTable(out, changes, result); });
    writeText(files.unallocatedTable, [&](std::ostream& out) { WriteUnallocatedTable(out, result); });
    // The two large files are written side by side: both only read the
    // model and the result, and at a million meters they take most of the
    // run's writing time. The page's thread is joined (and its error passed
    // on) before this returns, whatever happens to the shapefile.
    const Norvane::Domain::DomainModel& network = model.Model();
    std::future<void> page = std::async(std::launch::async, [&] {
        writeText(files.map, [&](std::ostream& out) {
            WriteMapPage(out, "Demand allocated onto " + fs::path(modelName).filename().string(), result, network);
        });
    });
    WriteConnectorShapefile(tools, files.connectors.string(), result, network);
    page.get();
    return changes;
}

}  // namespace Allotrix::Allocate
