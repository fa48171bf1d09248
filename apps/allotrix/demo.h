// The embedded demonstration behind `make run`: the KY10 network shipped
// with the program, a seeded set of customer meters along its pipes and
// service polygons around its junctions, allocated by nearest pipe (split by
// position, within 300 ft) or, in a build without model-element layers, by
// service area.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "host/calculations/i_data_tools.h"

namespace Norvane::Domain {
class InpModel;
}

namespace AllotrixApp {

struct DemoInputs {
    std::string meters;    // points: METER_ID, DEMAND (gallons per minute)
    std::string services;  // polygons: NODE
};

// Writes the meters and service polygons into `folder` through the data
// tools: meters scattered beside every pipe (about one per 400 length
// units), a few without demand and a few far from the network; service
// polygons are square cells near the network, each served by the junction
// nearest its centre.
DemoInputs WriteDemoInputs(const Norvane::Domain::InpModel& model, Norvane::Allotrix::Calculations::IDataTools& tools,
                           const std::filesystem::path& folder, unsigned seed);

// The network the program ships: data/ky10.inp beside the executable.
std::filesystem::path DemoModelPath();

// Writes the demo inputs and allocates them into `outputFolder`.
int RunDemo(const std::filesystem::path& outputFolder, bool force, bool json, std::ostream& out, std::ostream& err,
            bool progressOnTerminal);

}  // namespace AllotrixApp
