// One allocation as `allotrix allocate` runs it, from reading the model to
// writing every output, timed by stage:
//  - read: loading the model and opening the input layers (a shapefile is
//    read whole when it is opened);
//  - index: from there to the first meter, parcel or service polygon
//    handled: decoding the records where a method reads them all first,
//    and building the search index its first filter needs;
//  - allocate: all the others;
//  - write: the model, both tables, the connector shapefile and the map page.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "allocate/allocate.h"

namespace allocate_bench {

struct AllocationJob {
    std::filesystem::path model, sources, services;
    std::filesystem::path outputPrefix;
    Allotrix::Allocate::AllocationOptions options;
};

struct StageTimes {
    double read = 0, index = 0, allocate = 0, write = 0;  // milliseconds
    std::int64_t allocatedUnits = 0;
};

StageTimes RunWholeAllocation(const AllocationJob& job);

// Runs the job in every iteration; counters: each stage's mean time
// (read_ms, index_ms, allocate_ms, write_ms), the units allocated and the
// process's peak resident memory so far (peak_MB).
void TimeWholeAllocation(benchmark::State& state, const AllocationJob& job);

}  // namespace allocate_bench
