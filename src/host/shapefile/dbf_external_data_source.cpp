#include "host/shapefile/dbf_external_data_source.h"

#include <filesystem>

#include "host/shapefile/dbf_field_definition.h"
#include "host/shapefile/dbf_table.h"
#include "host/shapefile/shapefile_files.h"
#include "host/shapefile/staged_edit.h"
#include "host/support/exceptions.h"

namespace Norvane::Shapefile {
namespace {

// The file `path` names, its .dbf extension matched in any case.
std::optional<std::string> existingDbf(const std::string& path) {
    if (auto found = FindCompanionFile(ShapefileBasePath(path), "dbf")) return found;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return path;
    return std::nullopt;
}

}  // namespace

struct DBFExternalDataSource::Impl {
    Impl(const std::string& path, FileImage file, const std::optional<std::string>& cpg, bool forUpdate)
        : image(std::move(file)), table(image, path, cpg) {
        fields = table.Fields();
        recordCount = table.RecordCount();
        if (!forUpdate) return;
        edit.Stage("dbf", path, image);
        Detail::ProviderHooks hooks = edit.Hooks();
        dbf = DBFOpenLL(hooks.name.c_str(), "rb+", &hooks.hooks);
        if (!dbf) {
            edit.ThrowIfFailed();
            throw Support::ApplicationException("Could not open " + path + " for writing.");
        }
    }
    ~Impl() { closeHandle(); }

    void closeHandle() {
        if (dbf) DBFClose(dbf);
        dbf = nullptr;
    }

    FileImage image;  // the table reads it
    Detail::DbfTable table;
    Detail::DbfFieldTable fields;
    int recordCount = 0;
    Detail::StagedEdit edit;
    DBFHandle dbf = nullptr;
};

DBFExternalDataSource::DBFExternalDataSource(const std::string& path, bool openForUpdate, bool createIfMissing) {
    const std::optional<std::string> existing = existingDbf(path);
    if (!existing && !createIfMissing) throw Support::FileNotFoundException("File not found: " + path + ".");
    m_path = existing.value_or(path);
    FileImage image;
    if (existing) {
        image = ReadFileImage(*existing);
    } else {
        const std::string empty = Detail::EmptyDbfImage();
        image.assign(empty.begin(), empty.end());
    }
    std::optional<std::string> cpg;
    if (const auto cpgPath = FindCompanionFile(ShapefileBasePath(m_path), "cpg")) {
        const FileImage text = ReadFileImage(*cpgPath);
        cpg.emplace(text.begin(), text.end());
    }
    // A new file is only written when opened for update.
    m_impl = std::make_unique<Impl>(m_path, std::move(image), cpg, openForUpdate || !existing);
}

DBFExternalDataSource::~DBFExternalDataSource() = default;

int DBFExternalDataSource::RecordCount() const {
    if (!m_impl) throw Support::InvalidOperationException(m_path + " is closed.");
    return m_impl->recordCount;
}

std::vector<std::string> DBFExternalDataSource::GetFieldNames() const {
    if (!m_impl) throw Support::InvalidOperationException(m_path + " is closed.");
    return m_impl->fields.Names();
}

void DBFExternalDataSource::AddField(const DBFFieldInfo& info) {
    if (!m_impl || !m_impl->dbf) throw Support::InvalidOperationException(m_path + " is not open for update.");
    Detail::AddDbfField(m_impl->dbf, info, m_impl->fields, m_path);
    m_impl->edit.ThrowIfFailed();
    m_impl->fields = Detail::DbfFieldTable(m_impl->dbf, TextDecoder(m_impl->table.CodePage()), m_path);
}

void DBFExternalDataSource::Close() {
    if (!m_impl) return;
    const std::unique_ptr<Impl> impl = std::move(m_impl);
    if (!impl->dbf) return;
    impl->closeHandle();
    impl->edit.Commit();
}

}  // namespace Norvane::Shapefile
