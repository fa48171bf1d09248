// Demand is conserved by every method: over seeded random meters, parcels
// and service polygons, what the connectors carry plus what is listed as
// unallocated equals the demand read, unit for unit, and the node accounts
// agree with the connectors.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "allocation_fixture.h"

using namespace Allotrix::Allocate;
using namespace allocate_test;

namespace {

const char* const kJunctions[] = {"10", "11", "12", "13", "21", "22", "23", "31", "32"};

std::vector<TestPolygon> RandomPolygons(std::mt19937& random, int count, bool withDemand) {
    std::uniform_real_distribution<double> corner(-10.0, 100.0), side(0.5, 40.0), demand(0.0, 50.0);
    std::uniform_int_distribution<int> junction(0, 8);
    std::vector<TestPolygon> polygons;
    for (int i = 0; i < count; ++i) {
        const double x = corner(random), y = corner(random);
        TestPolygon polygon{{Box(x, y, x + side(random), y + side(random))}, kJunctions[junction(random)], {}};
        if (i % 4 == 0) polygon.rings.push_back(Hole(x + 0.1, y + 0.1, x + 0.4, y + 0.4));
        if (withDemand && i % 11 != 5) polygon.demand = demand(random);
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

std::vector<TestMeter> RandomMeters(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> coordinate(-20.0, 110.0), demand(0.0, 10.0);
    std::vector<TestMeter> meters;
    for (int i = 0; i < count; ++i) {
        TestMeter meter{"M" + std::to_string(i), GeometryPoint{coordinate(random), coordinate(random)}, demand(random)};
        if (i % 13 == 3) meter.demand.reset();
        if (i % 17 == 4) meter.point.reset();
        meters.push_back(std::move(meter));
    }
    return meters;
}

void ExpectConserved(const AllocationResult& result, std::int64_t expectedInput) {
    std::int64_t carried = 0, listed = 0;
    std::map<std::int32_t, std::int64_t> byNode;
    for (const Connector& connector : result.connectors) {
        carried += connector.units;
        byNode[connector.nodeId] += connector.units;
    }
    for (const UnallocatedItem& item : result.unallocated) listed += item.units;
    EXPECT_EQ(carried + listed, expectedInput);
    EXPECT_EQ(result.ledger.Input(), expectedInput);
    EXPECT_EQ(result.ledger.Allocated(), carried);
    EXPECT_EQ(result.ledger.NodeCount(), byNode.size());
    for (const std::int32_t node : result.ledger.NodeIds()) EXPECT_EQ(result.ledger.Node(node)->units, byNode[node]);
    EXPECT_TRUE(result.ledger.Balances());
}

template <typename Item>
std::int64_t InputUnits(const std::vector<Item>& items, double multiplier) {
    const DemandScale scale;
    std::int64_t total = 0;
    for (const Item& item : items)
        if (item.demand) total += *scale.ToUnits(*item.demand * multiplier);
    return total;
}

}  // namespace

TEST(Conservation, EveryUnitIsAllocatedOrListedWhateverTheRandomInput) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Session session;
        const auto services = RandomPolygons(random, 12, false);
        const auto meters = RandomMeters(random, 300);
        const auto parcels = RandomPolygons(random, 80, true);
        const std::string servicePath = session.WritePolygons("services.shp", services);
        const std::string meterPath = session.WriteMeters("meters.shp", meters);
        const std::string parcelPath = session.WritePolygons("parcels.shp", parcels);

        AllocationOptions byArea = ServiceOptions(AllocationMethod::ServiceArea);
        byArea.unitMultiplier = 1.0 / 1440.0;  // per day to per minute: nothing divides evenly
        ExpectConserved(RunAllocation(session.Inputs(meterPath, servicePath), byArea), InputUnits(meters, 1.0 / 1440.0));

        const AllocationOptions byParcel = ServiceOptions(AllocationMethod::AreaProportional);
        ExpectConserved(RunAllocation(session.Inputs(parcelPath, servicePath), byParcel), InputUnits(parcels, 1.0));

        if (!session.Tools().LayerExists(kDefaultNodeLayer)) continue;  // model-element layers not in this build
        for (const auto method : {AllocationMethod::NearestNode, AllocationMethod::NearestPipe}) {
            AllocationOptions nearest = byArea;
            nearest.method = method;
            nearest.maxDistance = 20.0;
            nearest.split = seed % 2 ? PipeSplit::ByPosition : PipeSplit::Equal;
            ExpectConserved(RunAllocation(session.Inputs(meterPath), nearest), InputUnits(meters, 1.0 / 1440.0));
        }
    }
}
