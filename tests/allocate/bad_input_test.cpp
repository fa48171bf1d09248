// Bad input stops an allocation with one line naming the file and what is
// wrong; text that is no number in a numeric demand field is "no demand
// value", never 0.
#include <gtest/gtest.h>

#include <fstream>

#include "allocation_fixture.h"

using namespace Allotrix::Allocate;
using namespace allocate_test;

namespace {

std::string FailureOf(Session& session, const std::string& meters, const std::string& services,
                      const AllocationOptions& options) {
    try {
        RunAllocation(session.Inputs(meters, services), options);
    } catch (const InputError& error) {
        return error.what();
    }
    return "no error";
}

void Overwrite(const std::string& path, const std::string& from, const std::string& to) {
    std::string bytes = ReadFile(path);
    const auto at = bytes.find(from);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, from.size(), to);
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(BadInput, EachProblemIsOneLineNamingTheFile) {
    Session session;
    const std::string services = session.WritePolygons("services.shp", {{{Box(0, 0, 100, 100)}, "11", {}}});
    const std::string meters = session.WriteMeters("meters.shp", {{"A", GeometryPoint{1, 1}, 1}, {"B", GeometryPoint{2, 2}, 2}});
    const AllocationOptions options = ServiceOptions(AllocationMethod::ServiceArea);
    const auto fails = [&](const std::string& m, const std::string& s, const AllocationOptions& o, const std::string& text) {
        const std::string message = FailureOf(session, m, s, o);
        EXPECT_NE(message.find(text), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    };

    fails(session.Folder().File("none.shp"), services, options, "none.shp: cannot be read as meters");
    std::ofstream(session.Folder().File("junk.shp"), std::ios::binary) << std::string(300, 'x');
    fails(session.Folder().File("junk.shp"), services, options, "junk.shp: cannot be read as meters");
    fails(services, services, options, "services.shp: holds polygons, but meters must be points");

    AllocationOptions wrongField = options;
    wrongField.demandField = "FLOW";
    fails(meters, services, wrongField, "meters.shp: no demand field \"FLOW\" (fields: Id, ElementID, METER_ID, DEMAND)");
    wrongField.demandField = "METER_ID";
    fails(meters, services, wrongField, "meters.shp: the demand field \"METER_ID\" is not numeric");
    AllocationOptions wrongNode = options;
    wrongNode.nodeField = "DEMAND";
    fails(meters, services, wrongNode, "services.shp: record 1: node \"\" is not in");
    const std::string tankService = session.WritePolygons("tank.shp", {{{Box(0, 0, 9, 9)}, "2", {}}});
    fails(meters, tankService, options, "tank.shp: record 1: node \"2\" is a tank or reservoir");

    const std::string negative = session.WriteMeters("negative.shp", {{"A", GeometryPoint{1, 1}, 1}, {"B", GeometryPoint{2, 2}, -2}});
    fails(negative, services, options, "negative.shp: record 2: negative demand -2 in \"DEMAND\"");
    const std::string twice = session.WriteMeters("twice.shp", {{"A", GeometryPoint{1, 1}, 1}, {"A", GeometryPoint{2, 2}, 2}});
    fails(twice, services, options, "twice.shp: record 2: duplicate ID \"A\" (also record 1)");

    // A model in feet, meters in metres.
    std::ofstream(session.Folder().File("meters.prj")) << R"(PROJCS["x",GEOGCS["y"],UNIT["Meter",1]])";
    fails(meters, services, options, "meters.shp: its .prj gives the length unit metre, but");
    AllocationOptions allowed = options;
    allowed.allowUnitMismatch = true;
    const AllocationResult warned = RunAllocation(session.Inputs(meters, services), allowed);
    ASSERT_EQ(warned.warnings.size(), 1u);
    EXPECT_NE(warned.warnings[0].find("uses foot"), std::string::npos) << warned.warnings[0];
}

TEST(BadInput, StarsAndNotApplicableAreNoDemandValueAndNaNIsNoPlace) {
    Session session;
    const std::string services = session.WritePolygons("services.shp", {{{Box(0, 0, 100, 100)}, "11", {}}});
    const std::string meters = session.WriteMeters(
        "meters.shp", {{"A", GeometryPoint{1, 1}, 11.25},
                       {"B", GeometryPoint{2, 2}, 22.5},
                       {"C", GeometryPoint{3, 3}, 4},
                       {"D", GeometryPoint{12345.25, 3}, 8}});
    // The writer stores numbers right-aligned; swap two for text of the same width.
    Overwrite(session.Folder().File("meters.dbf"), "11.25", "  N/A");
    Overwrite(session.Folder().File("meters.dbf"), " 22.5", "    *");
    // The writer refuses a NaN coordinate, so D's x becomes one in the file.
    const double x = 12345.25, nan = std::numeric_limits<double>::quiet_NaN();
    std::string shp = ReadFile(session.Folder().File("meters.shp"));
    shp.replace(shp.rfind(std::string(reinterpret_cast<const char*>(&x), 8)), 8, reinterpret_cast<const char*>(&nan), 8);
    std::ofstream(session.Folder().File("meters.shp"), std::ios::binary) << shp;
    const AllocationResult result =
        RunAllocation(session.Inputs(meters, services), ServiceOptions(AllocationMethod::ServiceArea));
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::NoDemandValue).sources, 2);
    EXPECT_EQ(result.ledger.Allocated(), 4'000'000);
    EXPECT_EQ(result.ledger.UnallocatedFor(UnallocatedReason::NaNCoordinate).units, 8'000'000);
}
