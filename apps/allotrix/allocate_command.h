// `allotrix allocate`: one allocation from the files a modeller names to the
// outputs and the summary. Bad input is one line on standard error and exit
// code 2; an internal failure is exit code 1; outputs appear only when the
// whole run succeeds.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "allocate/allocate.h"
#include "host/domain/inp/inp_model.h"

namespace AllotrixApp {

inline constexpr int kExitOk = 0;
inline constexpr int kExitInternal = 1;
inline constexpr int kExitBadInput = 2;

struct AllocateRequest {
    std::string model;
    std::string sources;
    std::string services;
    std::string methodName = "nearest-node";
    std::string selectionSets;  // a file of selection sets that --layer can name; empty: none
    Allotrix::Allocate::AllocationOptions options;
    Allotrix::Allocate::DemandWriteOptions write;
    std::string outputPrefix;  // empty: MODEL's name with "-allocated", in the current folder
    bool force = false;
    bool json = false;
    // A nearest method without a layer path asks for the layer on the
    // terminal (standard input and error).
    bool askForLayer = false;
};

// The model at `path`, with the selection sets of the file at
// `selectionSetsPath` when one is named; an InputError naming the file when
// either is missing or malformed.
std::unique_ptr<Norvane::Domain::InpModel> LoadModelOrRefuse(const std::string& path,
                                                             const std::string& selectionSetsPath = {});

// `progressOnTerminal`: standard error is a terminal, so a progress bar may
// be drawn on it.
int RunAllocate(const AllocateRequest& request, std::ostream& out, std::ostream& err, bool progressOnTerminal);

}  // namespace AllotrixApp
