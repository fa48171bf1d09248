// Reading the largest network of the test data (BWSN_Network_2.inp, 2.3 MB,
// 12,527 nodes, 14,831 links) into a model, beside the floor any reader
// pays: reading the bytes and finding the lines. Writing it back with a
// demand edit on every tenth junction shows what saving costs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "host/host.h"

using namespace Norvane::Domain;

namespace {

const char* const kNetwork = ALLOTRIX_TEST_DATA "/BWSN_Network_2.inp";

std::string ReadBytes() {
    std::ifstream in(kNetwork, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ReadBytesAndCountLines(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = ReadBytes();
        std::size_t lines = 0;
        for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\n', text.data() + text.size() - at))); ++at)
            ++lines;
        benchmark::DoNotOptimize(lines);
        bytes = text.size();
    }
    SetBytes(state, bytes);
}
BENCHMARK(BM_ReadBytesAndCountLines)->Unit(benchmark::kMillisecond);

void BM_LoadModel(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(InpModel::Load(kNetwork));
    SetBytes(state, ReadBytes().size());
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond);

void BM_ParseModelInMemory(benchmark::State& state) {
    const std::string text = ReadBytes();
    for (auto _ : state) benchmark::DoNotOptimize(InpModel::Parse(text, "BWSN_Network_2.inp"));
    SetBytes(state, text.size());
}
BENCHMARK(BM_ParseModelInMemory)->Unit(benchmark::kMillisecond);

void BM_TextWithDemandEdits(benchmark::State& state) {
    const auto model = InpModel::Load(kNetwork);
    const auto& junctions = model->Model().DomainElementManager(TypeId(NetworkElementType::Junction))->ElementIDs();
    for (std::size_t i = 0; i < junctions.size(); i += 10) model->AddDemand(junctions[i], {1.5, "", "Allocated"});
    for (auto _ : state) benchmark::DoNotOptimize(model->Text());
    SetBytes(state, ReadBytes().size());
}
BENCHMARK(BM_TextWithDemandEdits)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
