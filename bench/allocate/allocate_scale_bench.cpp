// A city on one machine: the seeded synthetic town at city size (100,489
// junctions, 130,000 pipes) with 1,000,000 meters beside its pipes,
// allocated by nearest pipe and split by position, from reading the files
// to writing every output; counters as in bench_allocate. A child process
// writes the inputs, so the peak memory reported is the allocation's own.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>

#include "allocation_inputs_writer.h"
#include "host/registry/registry_store.h"
#include "scratch_folder.h"
#include "whole_allocation.h"

namespace allocate_bench {
namespace {

namespace fs = std::filesystem;
using namespace Allotrix::Allocate;

void WriteCityInputs(const fs::path& model, const fs::path& meters) {
    const auto city = allotrix_town::MakeTown(allotrix_town::CityTownSize(), 20261207);
    WriteTownModel(city, model, true);
    std::vector<Norvane::Support::GeometryPoint> points;
    points.reserve(city.meters.size());
    for (const auto& meter : city.meters) points.push_back({meter.x, meter.y});
    Norvane::Allotrix::Calculations::AllotrixLibrary library;
    Norvane::Support::EmptyRegistryStore registry;
    Norvane::Allotrix::Calculations::Data::StandardDataTools tools(library, registry);
    WriteMeters(tools, meters, points);
}

// False when the child failed; it says why on standard error.
bool WriteCityInputsInChild(const fs::path& model, const fs::path& meters) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            WriteCityInputs(model, meters);
        } catch (const std::exception& error) {
            std::cerr << "writing the city's inputs: " << error.what() << '\n';
            std::_Exit(1);
        }
        std::_Exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void CityByNearestPipe(benchmark::State& state) {
    const auto& scratch = allotrix_bench::TheScratch();
    AllocationJob job;
    job.model = scratch.File("city.inp");
    job.sources = scratch.File("meters.shp");
    job.outputPrefix = scratch.File("city-allocated");
    if (!WriteCityInputsInChild(job.model, job.sources)) {
        state.SkipWithError("the city's input files could not be written");
        return;
    }
    job.options.method = AllocationMethod::NearestPipe;
    job.options.split = PipeSplit::ByPosition;
    job.options.demandField = "DEMAND";
    job.options.idField = "METER_ID";
    TimeWholeAllocation(state, job);
}

BENCHMARK(CityByNearestPipe)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace allocate_bench

BENCHMARK_MAIN();
