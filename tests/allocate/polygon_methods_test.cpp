// Service-area and area-proportional allocation onto EPANET's Net1, with
// answers worked out by hand from the coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "allocation_fixture.h"

using namespace Allotrix::Allocate;
using namespace allocate_test;
namespace fs = std::filesystem;

namespace {

std::int64_t unitsAt(const AllocationResult& result, Session& session, const std::string& node) {
    const auto* account = result.ledger.Node(session.Model().NodeId(node));
    return account ? account->units : -1;
}

}  // namespace

// Service polygons: A (20..40 x 60..80) serves junction 11; B (40..60 x
// 30..50) serves 22; C (60..80 x 60..80, with a hole 65..75) serves 13.
TEST(ServiceArea, MetersGoToTheNodeOfThePolygonHoldingThemAndTheFilesSayWhatHappened) {
    Session session;
    const std::string services = session.WritePolygons(
        "services.shp", {{{Box(20, 60, 40, 80)}, "11", {}},
                         {{Box(40, 30, 60, 50)}, "22", {}},
                         {{Box(60, 60, 80, 80), Hole(65, 65, 75, 75)}, "13", {}}});
    const std::string meters = session.WriteMeters(
        "meters.shp", {{"M1", GeometryPoint{25, 65}, 1.5},
                       {"M2", GeometryPoint{35, 75}, 2.25},
                       {"M3", GeometryPoint{45, 45}, 3},
                       {"M4", GeometryPoint{70, 70}, 4},  // in C's hole
                       {"M5", GeometryPoint{62, 62}, 0.5},
                       {"M6", GeometryPoint{90, 90}, 1},
                       {"M7", GeometryPoint{50, 40}, {}},  // blank demand
                       {"M8", {}, 2},                      // no shape
                       {"M9", GeometryPoint{40, 70}, 0.125}});  // on A's edge
    const std::string projection = R"(PROJCS["Town grid",GEOGCS["GCS_North_American_1983"],UNIT["Foot",0.3048]])";
    std::ofstream(session.Folder().File("meters.PRJ")) << projection;
    AllocationResult result =
        RunAllocation(session.Inputs(meters, services), ServiceOptions(AllocationMethod::ServiceArea));

    EXPECT_EQ(result.ledger.SourcesRead(), 9);
    EXPECT_EQ(result.ledger.Input(), 14'375'000);
    EXPECT_EQ(unitsAt(result, session, "11"), 3'875'000);
    EXPECT_EQ(unitsAt(result, session, "22"), 3'000'000);
    EXPECT_EQ(unitsAt(result, session, "13"), 500'000);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::OutsideEveryPolygon).units, 5'000'000);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::NoDemandValue).sources, 1);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::NoGeometry).units, 2'000'000);
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_NE(result.notices[0].find("(ft)"), std::string::npos) << result.notices[0];

    const ResultFiles files = ResultFiles::ForPrefix(session.Folder().Path() / "net1-allocated");
    {
        ResultStaging staging(files, false);
        WriteResultFiles(staging.Staged(), session.Model(), "Net1.inp", result, {DemandMode::Add, "", "Meters"},
                         session.Tools());
        staging.Commit();
    }
    EXPECT_EQ(ReadFile(files.nodeTable),
              "node_id,demand_before,allocated,demand_after,meter_count\n"
              "11,150,3.875000,153.875,3\n13,100,0.500000,100.5,1\n22,200,3.000000,203,1\n");
    EXPECT_EQ(ReadFile(files.unallocatedTable),
              "meter_id,reason,demand,detail\nM4,outside-every-polygon,4.000000,\nM6,outside-every-polygon,1.000000,\n"
              "M7,no-demand-value,0.000000,\nM8,no-geometry,2.000000,\n");
    // Adding keeps junction 11's old demand as a row of its own.
    const auto written = Norvane::Domain::InpModel::Load(files.model);
    EXPECT_EQ(written->EffectiveDemands(written->NodeId("11")),
              (std::vector<Norvane::Domain::DemandRow>{{150, "", ""}, {3.875, "", "Meters"}}));

    auto connectors = session.Tools().OpenLayer(files.connectors.string());
    ASSERT_EQ(connectors->FeatureCount(), 5);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(connectors->MoveNext());
    EXPECT_EQ(connectors->GetObjectValue("METER_ID"), Norvane::Support::FieldValue(std::string("M3")));
    EXPECT_EQ(connectors->GetObjectValue("NODE_ID"), Norvane::Support::FieldValue(std::string("22")));
    EXPECT_DOUBLE_EQ(connectors->GetDoubleValue("DISTANCE"), std::sqrt(50.0));
    EXPECT_EQ(connectors->GetDoubleValue("DEMAND"), 3.0);
    EXPECT_EQ(std::get<PointArrayList>(connectors->GetGeometryShape()),
              (PointArrayList{{{45, 45}, {50, 40}}}));
    // The connectors are in the meters' coordinate system, and say so.
    EXPECT_EQ(ReadFile(fs::path(files.connectors).replace_extension(".prj")), projection);

    // A second run into the same names refuses before writing anything.
    EXPECT_THROW(ResultStaging(files, false), InputError);
    EXPECT_NO_THROW(ResultStaging(files, true));
}

// Services A (20..40 x 60..80) to junction 11 and D (40..60 x 60..80) to 12.
TEST(AreaProportional, ParcelsAreSharedByOverlapAreaAndWhatLiesOutsideIsListed) {
    Session session;
    const std::string services =
        session.WritePolygons("services.shp", {{{Box(20, 60, 40, 80)}, "11", {}}, {{Box(40, 60, 60, 80)}, "12", {}}});
    const std::string parcels = session.WritePolygons(
        "parcels.shp", {{{Box(20, 60, 40, 80)}, "", 10},          // all in A
                        {{Box(30, 60, 50, 80)}, "", 3},           // half A, half D
                        {{Box(50, 70, 70, 80)}, "", 1},           // half D, half outside
                        {{Box(100, 0, 110, 10)}, "", 7},          // outside
                        {{Box(30, 60, 50, 70)}, "", 0.000001},    // one unit, a tie: A first
                        {{Box(30, 60, 50, 70)}, "", {}}});        // no demand value
    const AllocationResult result =
        RunAllocation(session.Inputs(parcels, services), ServiceOptions(AllocationMethod::AreaProportional));

    EXPECT_EQ(result.sourceNoun, "parcels");
    EXPECT_EQ(result.ledger.Input(), 21'000'001);
    EXPECT_EQ(unitsAt(result, session, "11"), 11'500'001);
    EXPECT_EQ(unitsAt(result, session, "12"), 2'000'000);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::OutsideEveryPolygon).units, 7'500'000);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::NoDemandValue).sources, 1);
    ASSERT_EQ(result.unallocated.size(), 3u);
    EXPECT_EQ(result.unallocated[0].sourceId, "3");
    EXPECT_EQ(result.unallocated[0].detail, "area outside 100.00 of 200.00");
    EXPECT_EQ(result.connectors.size(), 6u);  // P1 once, P2 and P5 twice, P3 once
}

// A polygon larger than the native working buffer is measured on a thinned
// copy: the run says so, naming the record and its area, and still balances.
TEST(AreaProportional, PolygonsBeyondTheWorkingBufferAreWarnedOfByRecordAndArea) {
    Session session;
    PointArray circle;
    for (int i = 0; i < 6000; ++i) {  // clockwise, radius 10 around (30, 70)
        const double angle = -2.0 * M_PI * i / 6000.0;
        circle.push_back({30.0 + 10.0 * std::cos(angle), 70.0 + 10.0 * std::sin(angle)});
    }
    circle.push_back(circle.front());
    const std::string services = session.WritePolygons("services.shp", {{{circle}, "11", {}}});
    const std::string parcels = session.WritePolygons(
        "parcels.shp", {{{Box(25, 65, 35, 75)}, "", 4}, {{circle}, "", 2}});
    const AllocationResult result =
        RunAllocation(session.Inputs(parcels, services), ServiceOptions(AllocationMethod::AreaProportional));
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].find(services + ": record 1: 6001 points do not fit the 4999-point working buffer"), 0u)
        << result.warnings[0];
    EXPECT_NE(result.warnings[0].find("(area 314.16)"), std::string::npos) << result.warnings[0];
    EXPECT_EQ(result.warnings[1].find(parcels + ": record 2: 6001 points"), 0u) << result.warnings[1];
    // The square lies inside; the circle overlaps its thinned self to within
    // the thinning's tolerance.
    EXPECT_NEAR(static_cast<double>(unitsAt(result, session, "11")), 6e6, 2e3);
}

// Each operand fits the working buffer, but their overlap runs along both
// zigzags, 6000 vertices in one ring: the result ring is cut at 5000
// points, the run says which parcel and service polygon and what area, and
// still balances. The true overlap is 400 of the parcel's 810.
TEST(AreaProportional, AnOverlapRingCutAtTheBufferLimitIsWarnedOfByRecordAndArea) {
    Session session;
    constexpr int kTeeth = 3000;
    // The strip between a straight edge and a zigzag across x = 20..60,
    // turned clockwise as a shapefile's outer ring.
    const auto strip = [](double edgeY, double zigzagY) {
        PointArray ring{{20, edgeY}};
        for (int i = 0; i <= kTeeth; ++i) ring.push_back({20.0 + 40.0 * i / kTeeth, zigzagY + (i % 2) * 0.5});
        ring.push_back({60, edgeY});
        ring.push_back(ring.front());
        if (edgeY > zigzagY) std::reverse(ring.begin(), ring.end());
        return ring;
    };
    const std::string services = session.WritePolygons("services.shp", {{{strip(80, 60)}, "11", {}}});
    const std::string parcels = session.WritePolygons("parcels.shp", {{{strip(50, 70)}, "", 5}});
    const AllocationResult result =
        RunAllocation(session.Inputs(parcels, services), ServiceOptions(AllocationMethod::AreaProportional));
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].find(parcels + ": record 1: the overlap with the service polygon of node 11 has a "
                                                "ring cut at 5000 points; its area "),
              0u)
        << result.warnings[0];
    // The native measure sees no points in a ring that large: the overlap
    // counts by its own (short) ring, not as none.
    EXPECT_GT(unitsAt(result, session, "11"), 2'000'000);
    EXPECT_TRUE(result.ledger.Balances());
    EXPECT_EQ(result.ledger.Allocated() + result.ledger.Unallocated(), 5'000'000);
}
