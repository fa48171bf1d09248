// An edit of a shapefile's files that leaves the user's files untouched
// until it succeeds: each file is copied to a sibling staging file, shapelib
// edits the copies through buffered streams, and Commit moves them over the
// originals only when every write succeeded. A failed or abandoned edit
// removes its staging files; its error names the user's file that failed.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/shapefile/buffered_file_stream.h"
#include "host/shapefile/shapelib_hooks.h"

namespace Norvane::Shapefile::Detail {

class StagedEdit final : public StreamProvider {
public:
    StagedEdit() = default;
    ~StagedEdit() override;
    StagedEdit(const StagedEdit&) = delete;
    StagedEdit& operator=(const StagedEdit&) = delete;

    // Stages `contents` as the new `target`, which shapelib opens by
    // `extension`. ApplicationException naming `target` when the staging
    // file cannot be written (a read-only folder, a full disk).
    void Stage(const std::string& extension, const std::string& target, std::span<const unsigned char> contents);
    // Hooks through which shapelib opens the staged files; the edit must
    // outlive the handles opened with them.
    ProviderHooks Hooks() { return HooksFor(*this); }
    std::unique_ptr<HookStream> Open(std::string_view extension, std::string_view access) override;

    // ApplicationException naming the first file whose write failed.
    void ThrowIfFailed() const;
    // Call once every shapelib handle on the staged files is closed: checks
    // for failed writes, makes the staged files durable and moves each over
    // its target. Anything that fails is removed and reported by name.
    void Commit();

private:
    struct File {
        std::string extension;
        std::string target;
        std::string staged;
    };
    void discard();

    std::vector<File> m_files;
    WriteFailure m_failure;
    bool m_committed = false;
};

}  // namespace Norvane::Shapefile::Detail
