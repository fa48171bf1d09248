#include "allocate_command.h"

#include <chrono>
#include <filesystem>
#include <iostream>

#include "allocation_summary.h"
#include "layer_choices.h"
#include "data/data.h"
#include "host/domain/inp/inp_model.h"
#include "host/domain/selection_set_file.h"
#include "host/registry/default_registry_store.h"
#include "host/support/exceptions.h"
#include "progress_bar.h"

namespace AllotrixApp {

namespace fs = std::filesystem;
using namespace Allotrix::Allocate;

namespace {

class StageClock {
public:
    void Lap(const char* stage, std::vector<std::string>& timings) {
        const auto now = std::chrono::steady_clock::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_last).count();
        timings.push_back(std::string(stage) + " " + std::to_string(ms) + " ms");
        m_last = now;
    }

private:
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

fs::path outputPrefix(const AllocateRequest& request) {
    if (!request.outputPrefix.empty()) return request.outputPrefix;
    return fs::path(fs::path(request.model).stem().string() + "-allocated");
}

}  // namespace

std::unique_ptr<Norvane::Domain::InpModel> LoadModelOrRefuse(const std::string& path,
                                                             const std::string& selectionSetsPath) {
    try {
        auto model = Norvane::Domain::InpModel::Load(path);
        if (!selectionSetsPath.empty()) Norvane::Domain::SelectionSetFile::Load(selectionSetsPath, model->Model());
        return model;
    } catch (const Norvane::Support::FileNotFoundException& error) {
        throw InputError(error.what());
    } catch (const Norvane::Support::ApplicationException& error) {
        throw InputError(error.what());
    }
}

namespace {

int allocate(const AllocateRequest& request, std::ostream& out, std::ostream& err, bool progressOnTerminal) {
    StageClock clock;
    std::vector<std::string> timings;
    if (request.sources.empty()) throw InputError("name the meters (or parcels) file");
    const ResultFiles targets = ResultFiles::ForPrefix(outputPrefix(request));
    ResultStaging staging(targets, request.force);
    const auto model = LoadModelOrRefuse(request.model, request.selectionSets);

    Norvane::Allotrix::Calculations::AllotrixLibrary library{&model->Model(), model->LengthUnit()};
    const auto registry = Norvane::Support::OpenDefaultRegistryStore();
    Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, *registry);
    clock.Lap("read model", timings);

    AllocationOptions options = request.options;
    const bool nearest = options.method == AllocationMethod::NearestNode || options.method == AllocationMethod::NearestPipe;
    if (request.askForLayer && nearest && options.layerPath.empty()) {
        const auto layer = AskForLayer(*model, options.method == AllocationMethod::NearestNode ? "Junction" : "Pipe",
                                       std::cin, err);
        if (!layer) throw InputError("no model elements were chosen to allocate onto");
        options.layerPath = *layer;
    }
    const AllocationInputs inputs{*model, request.model, tools, tools, request.sources, request.services};
    ProgressBar bar(stderr, progressOnTerminal, "");
    const AllocationResult result =
        RunAllocation(inputs, options, [&](std::size_t done, std::size_t total) { bar.Update(done, total); });
    bar.Finish();
    clock.Lap("allocate", timings);
    for (const std::string& notice : result.notices) err << "allotrix: note: " << notice << "\n";
    for (const std::string& warning : result.warnings) err << "allotrix: warning: " << warning << "\n";

    WriteResultFiles(staging.Staged(), *model, request.model, result, request.write, tools);
    staging.Commit();
    clock.Lap("write", timings);

    const SummaryFacts facts{request.methodName, request.model, request.sources, &result, &targets, timings};
    if (request.json) PrintJsonSummary(out, facts);
    else PrintSummary(out, facts);
    return kExitOk;
}

}  // namespace

int RunAllocate(const AllocateRequest& request, std::ostream& out, std::ostream& err, bool progressOnTerminal) {
    try {
        return allocate(request, out, err, progressOnTerminal);
    } catch (const InputError& error) {
        err << "allotrix: " << error.what() << "\n";
        return kExitBadInput;
    } catch (const std::exception& error) {  // a ConservationError among them
        err << "allotrix: internal error, nothing was written: " << error.what() << "\n";
        return kExitInternal;
    }
}

}  // namespace AllotrixApp
