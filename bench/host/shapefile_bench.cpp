// Reading and writing the town's 100,000 meters as a point shapefile with
// three fields: our reader and writer side by side with plain shapelib and
// with GDAL/OGR, on the same file. Items per second are records per second.
// Every reader reads each record's point and its three values; "agrees" is
// 1 when a reader's checksum equals plain shapelib's. The writers start from
// an empty shapefile, add the three fields and the 100,000 records, and end
// with the files closed (ours also makes them durable and moves them into
// place).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "scratch_folder.h"

#include "host/host.h"
#include "shapefile_references.h"

namespace shapefile_bench {
namespace {

using Norvane::Shapefile::DBFFieldInfo;
using Norvane::Shapefile::DBFFieldType;
using Norvane::Shapefile::ShapefileDataSourceReader;
using Norvane::Shapefile::ShapefileDataSourceWriter;

using allotrix_bench::TheScratch;

const std::vector<Meter>& TheMeters() {
    static const std::vector<Meter> meters = TownMeters();
    return meters;
}

// The file every reader reads, written once by plain shapelib.
const std::string& TheFile() {
    static const std::string base = [] {
        const std::string path = TheScratch().File("meters");
        WriteWithShapelib(path, TheMeters());
        return path;
    }();
    return base;
}

double ReadWithOurs(const std::string& base, int& count) {
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(base);
    double sum = 0.0;
    count = 0;
    while (reader.MoveNext()) {
        const auto point = reader.GetPointGeometry();
        sum += Checksum(point.X, point.Y, std::get<std::int32_t>(reader.GetFieldValue("METER_ID")),
                        std::get<double>(reader.GetFieldValue("DEMAND")),
                        std::get<std::string>(reader.GetFieldValue("LABEL")));
        ++count;
    }
    return sum;
}

void WriteWithOurs(const std::string& base, const std::vector<Meter>& meters) {
    WriteEmptyPointShapefile(base);
    ShapefileDataSourceWriter writer;
    writer.OpenDataFile(base);
    writer.AddField(DBFFieldInfo("METER_ID", DBFFieldType::Integer));
    writer.AddField(DBFFieldInfo("DEMAND", DBFFieldType::Double));
    writer.AddField(DBFFieldInfo("LABEL", DBFFieldType::Text, 16, 0));
    for (const Meter& m : meters) {
        writer.AddRecordBegin();
        writer.WritePointGeometry({m.x, m.y});
        writer.WriteFieldData(m.id, "METER_ID");
        writer.WriteFieldData(m.demand, "DEMAND");
        writer.WriteFieldData(m.label, "LABEL");
        writer.AddRecordEnd();
    }
    writer.Close();
}

using Reader = double (*)(const std::string&, int&);
using Writer = void (*)(const std::string&, const std::vector<Meter>&);

void Read(benchmark::State& state, Reader read) {
    const std::string& base = TheFile();
    int count = 0;
    double sum = 0.0;
    for (auto _ : state) {
        sum = read(base, count);
        benchmark::DoNotOptimize(sum);
    }
    int expectedCount = 0;
    const double expected = ReadWithShapelib(base, expectedCount);
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["agrees"] = count == expectedCount && sum == expected;
}

void Write(benchmark::State& state, Writer write) {
    const std::string base = TheScratch().File("written");
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* extension : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) std::filesystem::remove(base + extension);
        state.ResumeTiming();
        write(base, TheMeters());
    }
    int count = 0;
    const double sum = ReadWithShapelib(base, count);
    int expectedCount = 0;
    const double expected = ReadWithShapelib(TheFile(), expectedCount);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(TheMeters().size()));
    state.counters["agrees"] = count == expectedCount && sum == expected;
}

BENCHMARK_CAPTURE(Read, ours, ReadWithOurs)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, shapelib, ReadWithShapelib)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, ogr, ReadWithOgr)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Write, ours, WriteWithOurs)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Write, shapelib, WriteWithShapelib)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Write, ogr, WriteWithOgr)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace shapefile_bench

BENCHMARK_MAIN();
