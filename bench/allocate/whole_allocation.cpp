#include "whole_allocation.h"

#include <sys/resource.h>

#include <chrono>

#include "data/data.h"
#include "host/host.h"
#include "host/registry/registry_store.h"
#include "timed_data_tools.h"

namespace allocate_bench {

using namespace Allotrix::Allocate;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double peakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace

StageTimes RunWholeAllocation(const AllocationJob& job) {
    StageTimes times;
    const Clock::time_point start = Clock::now();
    const auto network = Norvane::Domain::InpModel::Load(job.model);
    Norvane::Allotrix::Calculations::AllotrixLibrary library{&network->Model(), network->LengthUnit()};
    Norvane::Support::EmptyRegistryStore registry;
    Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, registry);
    TimedDataTools timedTools(tools);
    const Clock::time_point loaded = Clock::now();

    Clock::time_point firstHandled{};
    const ProgressFunction noteFirst = [&](std::size_t done, std::size_t) {
        if (done == 1) firstHandled = Clock::now();
    };
    const AllocationResult result =
        RunAllocation({*network, job.model.string(), timedTools, tools, job.sources.string(), job.services.string()},
                      job.options, noteFirst);
    const Clock::time_point allocated = Clock::now();
    if (firstHandled == Clock::time_point{}) firstHandled = allocated;

    ResultStaging staging(ResultFiles::ForPrefix(job.outputPrefix), true);
    WriteResultFiles(staging.Staged(), *network, job.model.filename().string(), result, {}, tools);
    staging.Commit();
    const Clock::time_point written = Clock::now();

    times.read = millisecondsBetween(start, loaded) + timedTools.OpeningMilliseconds();
    times.index = millisecondsBetween(loaded, firstHandled) - timedTools.OpeningMilliseconds();
    times.allocate = millisecondsBetween(firstHandled, allocated);
    times.write = millisecondsBetween(allocated, written);
    times.allocatedUnits = result.ledger.Allocated();
    return times;
}

void TimeWholeAllocation(benchmark::State& state, const AllocationJob& job) {
    StageTimes total;
    for (auto _ : state) {
        const StageTimes times = RunWholeAllocation(job);
        total.read += times.read;
        total.index += times.index;
        total.allocate += times.allocate;
        total.write += times.write;
        total.allocatedUnits = times.allocatedUnits;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_ms"] = total.read / n;
    state.counters["index_ms"] = total.index / n;
    state.counters["allocate_ms"] = total.allocate / n;
    state.counters["write_ms"] = total.write / n;
    state.counters["allocated_units"] = static_cast<double>(total.allocatedUnits);
    state.counters["peak_MB"] = peakResidentMegabytes();
}

}  // namespace allocate_bench
