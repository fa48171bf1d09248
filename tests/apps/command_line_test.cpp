// The program as a modeller uses it: commands, help, exit codes, outputs
// that appear only on success, the demo behind `make run`, and its model
// opened and solved by the EPANET engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "command_line.h"
#include "allocate/allocation_fixture.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "allotrix");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    const int code = AllotrixApp::RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, false);
    return {code, out.str(), err.str()};
}

std::string fixture(const std::string& name) { return std::string(ALLOTRIX_TEST_DATA) + "/" + name; }

std::optional<nlohmann::json> jsonOf(const std::string& text) {
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

TEST(CommandLine, HelpVersionAndUsageErrors) {
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("allotrix ") + AllotrixApp::kVersion + "\n");
    const Outcome help = run({"allocate", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("Example:\n  allotrix allocate town.inp meters.shp"), std::string::npos) << help.out;
    EXPECT_NE(run({"--help"}).out.find("allotrix demo"), std::string::npos);

    const Outcome unknown = run({"allocate", "a.inp", "m.shp", "-d", "D", "--method", "nearest-hydrant"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("nearest-hydrant"), std::string::npos) << unknown.err;
    EXPECT_EQ(run({"allocate", "a.inp"}).code, 2);
    EXPECT_EQ(run({"allocate", "a.inp", "m.shp", "-d", "D", "--exclude", "Diameter=>4"}).code, 2);

    const Outcome polygon = run({"polygon"});
    EXPECT_EQ(polygon.code, 0);
    EXPECT_NE(polygon.out.find("signed area"), std::string::npos) << polygon.out;
    EXPECT_EQ(run({"polygon", "/nonexistent/parcel.txt"}).code, 2);
}

TEST(CommandLine, AllocateWritesEveryOutputOrNothing) {
    using allocate_test::Box;
    using allocate_test::GeometryPoint;
    allocate_test::Session session;
    const std::string services = session.WritePolygons("services.shp", {{{Box(20, 60, 40, 80)}, "11", {}}});
    const std::string meters = session.WriteMeters(
        "meters.shp", {{"A", GeometryPoint{25, 65}, 1.5}, {"B", GeometryPoint{35, 75}, 2.25}, {"C", GeometryPoint{99, 9}, 3}});
    const fs::path prefix = session.Folder().Path() / "out";
    const std::vector<std::string> command = {"allocate", fixture("Net1.inp"), meters, "-m", "service-area", "-s", services,
                                              "--node-field", "NODE", "--id-field", "METER_ID", "-d", "DEMAND",
                                              "-o", prefix.string()};
    const auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> all = command;
        all.insert(all.end(), extra.begin(), extra.end());
        return run(all);
    };

    const Outcome first = with({"--json"});
    ASSERT_EQ(first.code, 0) << first.err;
    const auto summary = jsonOf(first.out);
    ASSERT_TRUE(summary) << first.out;
    EXPECT_EQ((*summary)["read"], 3);
    EXPECT_EQ((*summary)["demand_allocated"], 3.75);
    EXPECT_EQ((*summary)["unallocated"]["outside-every-polygon"]["demand"], 3.0);
    EXPECT_EQ((*summary)["balanced"], true);
    const std::string written = allocate_test::ReadFile(prefix.string() + ".inp");

    const Outcome again = with({});
    EXPECT_EQ(again.code, 2);
    EXPECT_NE(again.err.find("out.inp: exists already"), std::string::npos) << again.err;
    const Outcome badPattern = with({"--force", "--pattern", "NOPE", "--mode", "replace"});
    EXPECT_EQ(badPattern.code, 2);
    EXPECT_EQ(badPattern.err.substr(badPattern.err.rfind("allotrix: ")).find("allotrix: junction 11: "), 0u)
        << badPattern.err;
    EXPECT_EQ(allocate_test::ReadFile(prefix.string() + ".inp"), written);
    for (const auto& entry : fs::directory_iterator(session.Folder().Path()))
        EXPECT_EQ(entry.path().filename().string().find(".out.partial"), std::string::npos) << entry.path();

    const Outcome replaced = with({"--force", "--mode", "replace"});
    EXPECT_EQ(replaced.code, 0) << replaced.err;
    EXPECT_NE(replaced.out.find("balance"), std::string::npos);
    EXPECT_NE(allocate_test::ReadFile(prefix.string() + "-nodes.csv").find("11,150,3.750000,3.75,2"), std::string::npos);

    std::vector<std::string> missingModel = command;
    missingModel.push_back("--force");
    missingModel[1] = session.Folder().File("none.inp");
    const Outcome missing = run(missingModel);
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("none.inp"), std::string::npos) << missing.err;
    std::ofstream(session.Folder().File("broken.inp")) << "[JUNCTIONS]\n J1 high\n";
    missingModel[1] = session.Folder().File("broken.inp");
    const Outcome broken = run(missingModel);
    EXPECT_EQ(broken.code, 2);
    EXPECT_NE(broken.err.find("broken.inp:2"), std::string::npos) << broken.err;
}

// The job behind `make run`, as the program itself runs it, and the model
// it writes opened and solved by the EPANET engine: the engine's total base
// demand is what the model had plus what was allocated.
TEST(CommandLine, DemoBalancesAndItsModelSolvesInEpanet) {
    shapefile_test::ScratchFolder folder;
    const auto printed = shapefile_test::Output(std::string(ALLOTRIX_EXE) + " demo --json --output-dir " +
                                                folder.Path().string() + " 2>" + folder.File("stderr.txt"));
    ASSERT_TRUE(printed);
    const auto summary = jsonOf(*printed);
    ASSERT_TRUE(summary) << *printed;
    EXPECT_EQ((*summary)["balanced"], true);
    EXPECT_GT((*summary)["read"].get<int>(), 3000);
    EXPECT_EQ(allocate_test::ReadFile(folder.File("stderr.txt")).find('\r'), std::string::npos);  // no bar off a terminal

    const fs::path npm = ALLOTRIX_NPM_PREFIX;
    if (!shapefile_test::Output("node --version") || !fs::exists(npm / "node_modules" / "epanet-js"))
        GTEST_SKIP() << "node or the npm package epanet-js is missing (make test installs it)";
    fs::copy_file(fs::path(ALLOTRIX_TEST_SCRIPTS) / "epanet_total.mjs", npm / "epanet_total.mjs",
                  fs::copy_options::overwrite_existing);
    const auto total = [&](const std::string& inp) {
        const auto out = shapefile_test::Output("node " + (npm / "epanet_total.mjs").string() + " " + inp);
        const auto json = out ? jsonOf(*out) : std::nullopt;
        return json ? (*json)["total"].get<double>() : -1.0;
    };
    const double before = total(fixture("ky10.inp"));
    const double after = total(folder.File("ky10-allocated.inp"));
    ASSERT_GT(before, 0.0);
    EXPECT_NEAR(after, before + (*summary)["demand_allocated"].get<double>(), 1e-9 * after);
}

// Selection sets come from a file named on the command line, for both the
// listing and the allocation.
TEST(CommandLine, LayersListsWhatTheSelectionDialogOffersAndAllocateUsesIt) {
    EXPECT_EQ(run({"layers", fixture("missing.inp")}).code, 2);
    const Outcome layers = run({"layers", fixture("Net1.inp")});
    if (layers.code == 1 && layers.err.find("not available in this build") != std::string::npos)
        GTEST_SKIP() << "model-element layers are not in this build";
    EXPECT_EQ(layers.code, 0) << layers.err;
    EXPECT_EQ(layers.out, "Junction\\All Elements\nPipe\\All Elements\n");

    allocate_test::Session session;
    const std::string sets = session.Folder().File("zones.txt");
    std::ofstream(sets) << "[North]\nJunction 11\nJunction 12\nPipe 11\n";
    const Outcome zoned = run({"layers", fixture("Net1.inp"), "--selection-sets", sets});
    EXPECT_EQ(zoned.out, "Junction\\All Elements\nJunction\\North\nPipe\\All Elements\nPipe\\North\n") << zoned.err;

    // At junction 22, but only 11 and 12 may take it: 12 is nearer.
    const std::string meters = session.WriteMeters("meters.shp", {{"A", allocate_test::GeometryPoint{50, 40}, 2}});
    const std::string prefix = session.Folder().File("out");
    const Outcome allocated = run({"allocate", fixture("Net1.inp"), meters, "-d", "DEMAND", "-o", prefix,
                                   "--selection-sets", sets, "--layer", "Junction\\North"});
    EXPECT_EQ(allocated.code, 0) << allocated.err;
    EXPECT_EQ(allocate_test::ReadFile(prefix + "-nodes.csv"),
              "node_id,demand_before,allocated,demand_after,meter_count\n12,150,2.000000,152,1\n");

    std::ofstream(sets) << "[North]\nJunction 11\nNOPE\n";
    const Outcome bad = run({"layers", fixture("Net1.inp"), "--selection-sets", sets});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("zones.txt:3"), std::string::npos) << bad.err;
}
