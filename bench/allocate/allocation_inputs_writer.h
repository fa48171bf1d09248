// The input files of an allocation benchmark, written as a user would hand
// them over: a network model (.inp) and shapefiles made through the data
// tools.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/data.h"
#include "allocate/writers/new_shapefile.h"
#include "host/host.h"
#include "town/town.h"

namespace allocate_bench {

// "N1", "M12", ...
std::string Numbered(const char* prefix, std::size_t number);

// The demand of meter (or parcel) i: varied, and the same in every run.
double DemandOf(std::size_t i);

// The town's junctions, and with `withPipes` its pipes and their bends, as
// a network model in GPM (so coordinates are in feet).
void WriteTownModel(const allotrix_town::Town& town, const std::filesystem::path& path, bool withPipes);

// Meters M1, M2, ... at the points, with METER_ID and DEMAND.
void WriteMeters(Norvane::Allotrix::Calculations::IDataTools& tools, const std::filesystem::path& path,
                 const std::vector<Norvane::Support::GeometryPoint>& points);

}  // namespace allocate_bench
