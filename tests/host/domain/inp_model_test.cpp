#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/host.h"

using namespace Norvane::Domain;
using Norvane::Support::ApplicationException;
using Norvane::Support::ArgumentException;
using Norvane::Support::FieldValue;
using Norvane::Support::GeometryPoint;

namespace {

std::string DataPath(const std::string& name) { return std::string(ALLOTRIX_TEST_DATA) + "/" + name; }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t CountOf(DomainModel& model, NetworkElementType type) {
    return model.DomainElementManager(TypeId(type))->ElementIDs().size();
}

FieldValue ValueOf(const InpModel& model, std::int32_t id, const char* field) {
    return model.Model().ModelingElementField(field)->GetValue(id);
}

IGeometryPolylineField& LinkGeometry(DomainModel& model) {
    auto* manager = model.DomainElementManager(TypeId(NetworkElementType::Link));
    return dynamic_cast<IGeometryPolylineField&>(*manager->DomainElementField(kGeometryFieldName, kGeometryTableName));
}

// The lines only `before` has ("-" and the line) and those only `after`
// has ("+"), each in file order.
std::vector<std::string> ChangedLines(const std::string& before, const std::string& after) {
    auto split = [](const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    };
    auto onlyIn = [](const std::vector<std::string>& lines, std::vector<std::string> others, const char* mark) {
        std::vector<std::string> only;
        for (const std::string& line : lines) {
            const auto match = std::find(others.begin(), others.end(), line);
            if (match == others.end()) only.push_back(mark + line);
            else others.erase(match);
        }
        return only;
    };
    const auto a = split(before), b = split(after);
    std::vector<std::string> changed = onlyIn(a, b, "-");
    for (std::string& line : onlyIn(b, a, "+")) changed.push_back(std::move(line));
    return changed;
}

const char* const kSmall =
    "[JUNCTIONS]\n"
    " J1 10 5\n"
    " J2 12\n"
    "[RESERVOIRS]\n"
    " R1 100\n"
    "[PIPES]\n"
    " P1 R1 J1 100 12 100\n"
    " P2 J1 J2 100 8 100 0 Closed\n"
    "[PATTERNS]\n"
    " Day 1 1.2\n"
    "[COORDINATES]\n"
    " J1 0 0\n"
    " J2 100 0\n"
    " R1 -100 0\n"
    "[END]\n";

}  // namespace

// Counts as the data README lists them, and the untouched bytes on saving.
TEST(InpModel, ReadsTheFourNetworksAndWritesThemBackByteForByte) {
    struct Expected {
        const char* file;
        std::size_t junctions, reservoirs, tanks, pipes, pumps, valves, vertices, linksWithVertices;
    };
    const Expected networks[] = {
        {"Net1.inp", 9, 1, 1, 12, 1, 0, 0, 0},
        {"Net3.inp", 92, 2, 3, 117, 2, 0, 0, 0},
        {"ky10.inp", 920, 2, 13, 1043, 13, 5, 7796, 638},
        {"BWSN_Network_2.inp", 12523, 2, 2, 14822, 4, 5, 0, 0},
    };
    const auto saved = std::filesystem::temp_directory_path() / "allotrix_inp_round_trip.inp";
    for (const Expected& e : networks) {
        SCOPED_TRACE(e.file);
        const auto model = InpModel::Load(DataPath(e.file));
        DomainModel& m = model->Model();
        EXPECT_EQ(CountOf(m, NetworkElementType::Junction), e.junctions);
        EXPECT_EQ(CountOf(m, NetworkElementType::Reservoir), e.reservoirs);
        EXPECT_EQ(CountOf(m, NetworkElementType::Tank), e.tanks);
        EXPECT_EQ(CountOf(m, NetworkElementType::Node), e.junctions + e.reservoirs + e.tanks);
        EXPECT_EQ(CountOf(m, NetworkElementType::Pipe), e.pipes);
        EXPECT_EQ(CountOf(m, NetworkElementType::Pump), e.pumps);
        EXPECT_EQ(CountOf(m, NetworkElementType::Valve), e.valves);
        EXPECT_EQ(CountOf(m, NetworkElementType::Link), e.pipes + e.pumps + e.valves);
        std::size_t vertices = 0, linksWithVertices = 0;
        for (std::int32_t id : m.DomainElementManager(TypeId(NetworkElementType::Link))->ElementIDs()) {
            const std::size_t interior = LinkGeometry(m).GetPoints(id).size() - 2;
            vertices += interior;
            linksWithVertices += interior > 0;
        }
        EXPECT_EQ(vertices, e.vertices);
        EXPECT_EQ(linksWithVertices, e.linksWithVertices);
        EXPECT_TRUE(model->Warnings().empty());
        EXPECT_EQ(model->LengthUnit(), Norvane::Support::LengthUnit::Foot);
        EXPECT_FALSE(model->IsModified());
        model->Save(saved);
        EXPECT_EQ(ReadBytes(saved.string()), ReadBytes(DataPath(e.file)));
    }
    std::filesystem::remove(saved);
    const auto nowhere = std::filesystem::temp_directory_path() / "allotrix-no-such-folder" / "net.inp";
    EXPECT_THROW(InpModel::Parse(kSmall, "small.inp")->Save(nowhere), ApplicationException);
}

TEST(InpModel, ServesAttributesAndGeometryOfTheFile) {
    const auto net1 = InpModel::Load(DataPath("Net1.inp"));
    const std::int32_t junction = net1->NodeId("11");
    EXPECT_EQ(ValueOf(*net1, junction, FieldNames::Elevation), FieldValue(710.0));
    EXPECT_EQ(ValueOf(*net1, junction, FieldNames::BaseDemand), FieldValue(150.0));
    EXPECT_EQ(ValueOf(*net1, junction, FieldNames::TotalBaseDemand), FieldValue(150.0));
    EXPECT_TRUE(Norvane::Support::IsNull(ValueOf(*net1, junction, FieldNames::DemandPattern)));
    EXPECT_EQ(ValueOf(*net1, net1->NodeId("9"), FieldNames::Elevation), FieldValue(800.0));  // a reservoir's head

    const std::int32_t pipe = net1->LinkId("10");
    EXPECT_NE(pipe, junction);
    EXPECT_EQ(net1->Model().ElementsLabelled("10").size(), 2u);  // node and link IDs are separate in the file
    EXPECT_EQ(ValueOf(*net1, pipe, FieldNames::Length), FieldValue(10530.0));
    EXPECT_EQ(ValueOf(*net1, pipe, FieldNames::Diameter), FieldValue(18.0));
    EXPECT_EQ(ValueOf(*net1, pipe, FieldNames::Roughness), FieldValue(100.0));
    EXPECT_EQ(ValueOf(*net1, pipe, FieldNames::StartNode), FieldValue(std::string("10")));
    EXPECT_EQ(ValueOf(*net1, pipe, FieldNames::EndNodeId), FieldValue(junction));
    EXPECT_EQ(LinkGeometry(net1->Model()).GetPoints(pipe), (Norvane::Support::PointArray{{20, 70}, {30, 70}}));

    // Coordinates follow the working unit; the file's flow units make them feet.
    auto& points = dynamic_cast<IGeometryPointField&>(*net1->Model().DomainElementManager(TypeId(NetworkElementType::Junction))
                                                           ->DomainElementField(kGeometryFieldName, kGeometryTableName));
    points.SetWorkingUnit(Norvane::Support::Unit::FromLengthUnit(Norvane::Support::LengthUnit::Metre));
    EXPECT_EQ(points.GetPoint(junction), (GeometryPoint{30 * 0.3048, 70 * 0.3048}));

    const auto net3 = InpModel::Load(DataPath("Net3.inp"));
    EXPECT_EQ(ValueOf(*net3, net3->LinkId("10"), FieldNames::Status), FieldValue(std::string("Closed")));   // pump, [STATUS]
    EXPECT_EQ(ValueOf(*net3, net3->LinkId("330"), FieldNames::Status), FieldValue(std::string("Closed")));  // pipe column
    EXPECT_EQ(ValueOf(*net3, net3->LinkId("333"), FieldNames::Status), FieldValue(std::string("Open")));

    const auto ky10 = InpModel::Load(DataPath("ky10.inp"));
    const auto p1 = LinkGeometry(ky10->Model()).GetPoints(ky10->LinkId("P-1"));
    ASSERT_GE(p1.size(), 3u);
    EXPECT_EQ(p1[1], (GeometryPoint{5765082.16, 3843785.12}));  // the first [VERTICES] row of P-1
    EXPECT_EQ(p1.back(), ky10->Model().PointOf(ky10->NodeId("T-9")));
}

TEST(InpModel, DemandEditsRewriteOnlyTheLinesTheyTouch) {
    const std::string original = ReadBytes(DataPath("Net1.inp"));
    const auto model = InpModel::Parse(original, "Net1.inp");
    const std::int32_t j11 = model->NodeId("11"), j12 = model->NodeId("12");

    model->SetBaseDemand(j11, 175.5);
    model->AddDemand(j12, {30.0, "1", "Meters"});  // the column's 150 becomes a row of its own
    EXPECT_EQ(ValueOf(*model, j12, FieldNames::TotalBaseDemand), FieldValue(180.0));
    const std::string edited = model->Text();
    EXPECT_EQ(ChangedLines(original, edited),
              (std::vector<std::string>{"- 11              \t710         \t150         \t                \t;",
                                        "+ 11              \t710         \t175.5         \t                \t;",
                                        "+ 12\t150", "+ 12\t30\t1\t;Meters"}));

    const auto reread = InpModel::Parse(edited, "edited.inp");
    EXPECT_EQ(reread->BaseDemand(j11), 175.5);
    EXPECT_EQ(reread->DemandRows(j12), (std::vector<DemandRow>{{150.0, "", ""}, {30.0, "1", "Meters"}}));
    EXPECT_EQ(ValueOf(*reread, j12, FieldNames::TotalBaseDemand), FieldValue(180.0));

    // Rows rewritten in place, the surplus removed; the same rows change nothing.
    reread->SetDemandRows(j12, reread->DemandRows(j12));
    reread->SetBaseDemand(j11, 175.5);
    EXPECT_FALSE(reread->IsModified());
    reread->SetDemandRows(j12, {{42.0, "", "Fire"}});
    EXPECT_EQ(ChangedLines(edited, reread->Text()), (std::vector<std::string>{"- 12\t150", "- 12\t30\t1\t;Meters", "+ 12\t42\t;Fire"}));
    reread->SetDemandRows(j12, {});
    std::string withoutRows = edited;
    EXPECT_EQ(reread->Text(), withoutRows.erase(edited.find(" 12\t150\n"), std::string(" 12\t150\n 12\t30\t1\t;Meters\n").size()));

    EXPECT_THROW(model->AddDemand(j12, {1.0, "NoSuchPattern", ""}), ArgumentException);
    EXPECT_THROW(model->AddDemand(j12, {1.0, "", "two\nlines"}), ArgumentException);
    EXPECT_THROW(model->SetBaseDemand(model->NodeId("9"), 1.0), ArgumentException);  // a reservoir
    EXPECT_THROW(model->SetBaseDemand(j11, std::nan("")), ArgumentException);

    // The engine reads a row whose first field starts with MULT as the demand multiplier.
    const auto multiplier = InpModel::Parse("[JUNCTIONS]\n Mult7 1 3\n[DEMANDS]\n multiply 2\n Mult7 4\n", "mult.inp");
    const std::int32_t mult7 = multiplier->NodeId("Mult7");
    EXPECT_TRUE(multiplier->DemandRows(mult7).empty());
    EXPECT_EQ(ValueOf(*multiplier, mult7, FieldNames::TotalBaseDemand), FieldValue(3.0));
    EXPECT_THROW(multiplier->AddDemand(mult7, {1.0, "", ""}), ArgumentException);
}

TEST(InpModel, NewDemandRowsFindAPlaceInFilesWithoutADemandSection) {
    const auto withEnd = InpModel::Parse(kSmall, "small.inp");
    withEnd->AddDemand(withEnd->NodeId("J2"), {2.5, "Day", ""});  // J2 has no column demand to keep
    EXPECT_EQ(ChangedLines(kSmall, withEnd->Text()), (std::vector<std::string>{"+[DEMANDS]", "+ J2\t2.5\tDay", "+"}));

    std::string crlf = std::string(kSmall).substr(0, std::string(kSmall).find("[END]"));
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.replace(at, 1, "\r\n");
    crlf = "\xEF\xBB\xBF" + crlf.substr(0, crlf.size() - 2);  // a byte-order mark, and no ending on the last line
    const auto noEnd = InpModel::Parse(crlf, "crlf.inp");
    EXPECT_EQ(noEnd->Text(), crlf);
    noEnd->AddDemand(noEnd->NodeId("J1"), {1.0, "", ""});
    EXPECT_EQ(noEnd->Text(), crlf + "\r\n\r\n[DEMANDS]\r\n J1\t5\r\n J1\t1\r\n");
    EXPECT_EQ(InpModel::Parse(noEnd->Text(), "again.inp")->EffectiveDemands(noEnd->NodeId("J1")).size(), 2u);
}

TEST(InpModel, MalformedFilesFailNamingFileAndLine) {
    const std::string base = kSmall;
    auto withLine = [&](const std::string& section, const std::string& line) {
        std::string text = base;
        return text.insert(text.find(section) + section.size() + 1, line + "\n");
    };
    const std::pair<std::string, std::string> cases[] = {
        {withLine("[JUNCTIONS]", " J2 11"), "bad.inp:4: the node ID \"J2\" is defined twice (first on line 2)"},
        {withLine("[PIPES]", " P1 J1 J2 1 1 1"), "bad.inp:8: the link ID \"P1\" is defined twice (first on line 7)"},
        {withLine("[PIPES]", " P3 J1 J9 1 1 1"), "bad.inp:7: the pipe names the node \"J9\", which is not defined"},
        {withLine("[COORDINATES]", " J1 1,5 0"), "bad.inp:12: expected a finite number for the x coordinate, found \"1,5\""},
        {withLine("[COORDINATES]", " J1 0 nan"), "bad.inp:12: expected a finite number for the y coordinate"},
        {withLine("[COORDINATES]", " J9 0 0"), "the coordinates names the node \"J9\", which is not defined"},
        {withLine("[JUNCTIONS]", " J3 high"), "bad.inp:2: expected a finite number for the junction elevation"},
        {withLine("[PIPES]", " P3 J1 J2 1 1"), "bad.inp:7: a pipe needs an ID, two nodes, a length, a diameter and a roughness"},
        {withLine("[PIPES]", " P3 J1 J2 1 1 1 0 Shut"), "unknown pipe status \"Shut\""},
        {withLine("[PATTERNS]", " Day 1\n[DEMANDS]\n R1 5"), "bad.inp:12: the demand row names \"R1\", which is not a junction"},
        {"[OPTIONS]\n Units GALLONS\n", "bad.inp:2: unknown flow units \"GALLONS\""},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        try {
            InpModel::Parse(text, "bad.inp");
            ADD_FAILURE() << "no error";
        } catch (const ApplicationException& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(InpModel::Load(DataPath("no-such-network.inp")), Norvane::Support::FileNotFoundException);
}

TEST(InpModel, WhatTheEngineAcceptsIsKeptAndReported) {
    const std::string hugeId(200000, 'x');
    std::string text = "[TITLE]\n" + std::string(3000000, 't') + "\n[FOO BAR]\n anything at all ; kept\n" + kSmall;
    text.insert(text.find(" J2 12\n"), " " + hugeId + " 7\n J3 8\n");
    text.insert(text.find("[END]"), " J1 5 5\n");  // coordinates twice: the last are used
    text += "[JUNCTIONS]\n AfterEnd 1\n";        // the engine reads nothing after [END]
    const auto model = InpModel::Parse(text, "odd.inp");
    EXPECT_EQ(model->Text(), text);
    EXPECT_EQ(model->NodeId("AfterEnd"), 0);
    EXPECT_EQ(model->Model().PointOf(model->NodeId("J1")), (GeometryPoint{5, 5}));
    EXPECT_TRUE(model->Model().PointOf(model->NodeId("J3")).IsEmpty());
    std::string warnings;
    for (const std::string& warning : model->Warnings()) warnings += warning + "\n";
    for (const char* expected : {"odd.inp:3: unknown section \"[FOO BAR]\" is kept", "is longer than the 31 characters",
                                 "odd.inp:8: the junction \"J3\" has no coordinates", "odd.inp:21: the node \"J1\" has coordinates on line 18 too"})
        EXPECT_NE(warnings.find(expected), std::string::npos) << expected << "\n" << warnings;

    const auto bare = InpModel::Parse("[JUNCTIONS]\n A 1\n B 2\n[PIPES]\n AB A B 1 1 1\n", "bare.inp");
    ASSERT_EQ(bare->Warnings().size(), 1u);
    EXPECT_EQ(bare->Warnings()[0], "bare.inp:1: no node has coordinates, so no element has geometry");
    EXPECT_TRUE(LinkGeometry(bare->Model()).GetPoints(bare->LinkId("AB")).empty());
}
