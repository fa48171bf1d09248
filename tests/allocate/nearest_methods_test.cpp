// Nearest-node and nearest-pipe allocation onto EPANET's Net1 through the
// model-element layers, with answers worked out by hand: junctions at
// 10 (20,70), 11 (30,70), 12 (50,70), 13 (70,70), 21 (30,40), 22 (50,40),
// 31 (30,10); reservoir 9 (10,70); tank 2 (50,90); pipe 11 runs 11 -> 12,
// pipe 110 from the tank to 12, pipe 121 from 21 to 31, pipe 10 from 10 to 11
// (diameters 14, 18, 8 and 18).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "allocation_fixture.h"

using namespace Allotrix::Allocate;
using namespace allocate_test;

namespace {

std::map<std::string, std::int64_t> unitsByNode(const AllocationResult& result, Session& session) {
    std::map<std::string, std::int64_t> units;
    for (const std::int32_t id : result.ledger.NodeIds())
        units[session.Model().Model().FindElement(id)->Label()] = result.ledger.Node(id)->units;
    return units;
}

AllocationOptions NearestOptions(AllocationMethod method) {
    AllocationOptions options;
    options.method = method;
    options.demandField = "DEMAND";
    options.idField = "METER_ID";
    return options;
}

bool HaveModelElementLayers(Session& session) { return session.Tools().LayerExists(kDefaultNodeLayer); }

}  // namespace

TEST(NearestNode, EachMeterGoesToTheNearestJunctionWithinReach) {
    Session session;
    if (!HaveModelElementLayers(session)) GTEST_SKIP() << "model-element layers are not in this build";
    const std::string meters = session.WriteMeters("meters.shp", {{"A", GeometryPoint{31, 69}, 1},
                                                                  {"B", GeometryPoint{49, 41}, 2},
                                                                  {"C", GeometryPoint{12, 70}, 3},  // by the reservoir
                                                                  {"D", GeometryPoint{50, 88}, 4},  // by the tank
                                                                  {"E", GeometryPoint{200, 200}, 5}});
    AllocationOptions options = NearestOptions(AllocationMethod::NearestNode);
    options.maxDistance = 50.0;
    const AllocationResult result = RunAllocation(session.Inputs(meters), options);
    EXPECT_EQ(unitsByNode(result, session),
              (std::map<std::string, std::int64_t>{{"10", 3'000'000}, {"11", 1'000'000}, {"12", 4'000'000}, {"22", 2'000'000}}));
    ASSERT_EQ(result.unallocated.size(), 1u);
    EXPECT_EQ(result.unallocated[0].reason, UnallocatedReason::BeyondSnappingDistance);
    EXPECT_EQ(result.unallocated[0].detail, "distance 183.85");

    options.layerPath = "Node\\All Elements";  // holds the tank and the reservoir
    EXPECT_THROW(RunAllocation(session.Inputs(meters), options), InputError);
}

TEST(NearestPipe, DemandIsSplitBetweenThePipeEndsAndTanksPassTheirShareOn) {
    Session session;
    if (!HaveModelElementLayers(session)) GTEST_SKIP() << "model-element layers are not in this build";
    const std::string meters = session.WriteMeters("meters.shp", {{"P", GeometryPoint{40, 71}, 10},
                                                                  {"Q", GeometryPoint{35, 69}, 4},
                                                                  {"R", GeometryPoint{51, 85}, 6},
                                                                  {"S", GeometryPoint{30.5, 25}, 2},
                                                                  {"U", GeometryPoint{15, 71}, 1}});
    AllocationOptions options = NearestOptions(AllocationMethod::NearestPipe);
    using Shares = std::map<std::string, std::int64_t>;
    // P and Q on pipe 11 (halfway, a quarter along); R on the tank's pipe;
    // S halfway along 121; U at the start of pipe 10.
    EXPECT_EQ(unitsByNode(RunAllocation(session.Inputs(meters), options), session),
              (Shares{{"10", 500'000}, {"11", 7'500'000}, {"12", 13'000'000}, {"21", 1'000'000}, {"31", 1'000'000}}));
    options.split = PipeSplit::ByPosition;
    const AllocationResult byPosition = RunAllocation(session.Inputs(meters), options);
    EXPECT_EQ(unitsByNode(byPosition, session),
              (Shares{{"10", 1'000'000}, {"11", 8'000'000}, {"12", 12'000'000}, {"21", 1'000'000}, {"31", 1'000'000}}));
    EXPECT_EQ(byPosition.connectors[2].to, (GeometryPoint{35, 70}));  // Q's foot point, once per end

    // Without the 18-inch mains, R falls to pipe 12 (12 -> 13), a twentieth along.
    options.exclusion = PipeExclusion{"Diameter", PipeExclusion::Comparison::AtLeast, 18.0};
    const auto withoutMains = unitsByNode(RunAllocation(session.Inputs(meters), options), session);
    EXPECT_EQ(withoutMains.at("12"), 5'000'000 + 1'000'000 + 5'700'000);
    EXPECT_EQ(withoutMains.at("13"), 300'000);
}

// The meters are searched for in spatial order, not in record order: each
// one's connector still leads to a junction as near as a scan finds.
TEST(NearestNode, MetersInNoOrderEachGoToTheJunctionAScanFindsNearest) {
    Session session;
    if (!HaveModelElementLayers(session)) GTEST_SKIP() << "model-element layers are not in this build";
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 100.0);
    std::vector<TestMeter> meters;
    for (int i = 0; i < 400; ++i)
        meters.push_back({"M" + std::to_string(i), GeometryPoint{coordinate(random), coordinate(random)}, 1});
    const AllocationResult result = RunAllocation(session.Inputs(session.WriteMeters("meters.shp", meters)),
                                                  NearestOptions(AllocationMethod::NearestNode));
    const auto& model = session.Model().Model();
    ASSERT_EQ(result.connectors.size(), meters.size());
    for (std::size_t i = 0; i < meters.size(); ++i) {
        double nearest = HUGE_VAL;
        for (std::int32_t id = 1; id <= static_cast<std::int32_t>(model.ElementCount()); ++id)
            if (model.IsOfType(id, static_cast<int>(Norvane::Domain::NetworkElementType::Junction)))
                nearest = std::min(nearest, std::hypot(model.PointOf(id).X - meters[i].point->X,
                                                       model.PointOf(id).Y - meters[i].point->Y));
        EXPECT_EQ(result.connectors[i].sourceId, meters[i].id);
        EXPECT_DOUBLE_EQ(result.connectors[i].distance, nearest) << meters[i].id;
    }
}
