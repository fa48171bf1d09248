// The 100,000 meters of the synthetic town as a point shapefile with three
// fields (METER_ID N(9,0), DEMAND N(24,15), LABEL C(16)), and the reference
// libraries that read and write it: plain shapelib with its own file I/O,
// and GDAL/OGR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shapefile_bench {

struct Meter {
    double x, y;
    std::int32_t id;
    double demand;
    std::string label;
};

std::vector<Meter> TownMeters();

// A sum over every value read, equal for readers that read the same records.
double Checksum(double x, double y, std::int64_t id, double demand, const std::string& label);

// An empty point shapefile without fields, where the writers start.
void WriteEmptyPointShapefile(const std::string& base);
void WriteWithShapelib(const std::string& base, const std::vector<Meter>& meters);
void WriteWithOgr(const std::string& base, const std::vector<Meter>& meters);
// The checksum of every record; `count` receives the number of records.
double ReadWithShapelib(const std::string& base, int& count);
double ReadWithOgr(const std::string& base, int& count);

}  // namespace shapefile_bench
