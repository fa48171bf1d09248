#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>

#include "host/host.h"
#include "shapefile_test_support.h"

using namespace Norvane::Shapefile;
using namespace Norvane::Support;
using namespace shapefile_test;

namespace {

ShapefileDataSourceReader Open(const std::string& fixture) {
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(DataPath(fixture));
    return reader;
}

// Places `text` at the start of a field of the first record of a .dbf image.
void SetStoredText(FileImage& dbf, int fieldOffset, int width, const std::string& text) {
    const std::size_t at = static_cast<std::size_t>(dbf[8] | (dbf[9] << 8)) + static_cast<std::size_t>(fieldOffset);
    std::memset(&dbf[at], ' ', static_cast<std::size_t>(width));
    std::memcpy(&dbf[at], text.data(), text.size());
}

}  // namespace

TEST(ShapefileReader, ReadsAPointATwoPartPolylineAndAPolygonWithHolesExactly) {
    ShapefileDataSourceReader points;
    ASSERT_TRUE(points.OpenDataFile(DataPath("Point.shp")));
    EXPECT_EQ(points.ShapeType(), 1);
    EXPECT_EQ(points.RecordCount(), 9);
    EXPECT_EQ(points.CurrentPosition(), -1);
    ASSERT_TRUE(points.MoveNext());
    const GeometryPoint first{-0.0006817661753210358, -0.25904661905760773};
    EXPECT_EQ(points.GetPointGeometry(), first);
    EXPECT_EQ(points.GetCurrentRecordBox(), (RecordBox{first.X, first.Y, first.X, first.Y}));
    EXPECT_EQ(points.GetFieldValue("name"), FieldValue(std::string("One")));
    EXPECT_EQ(points.GetFieldValue("IValue"), FieldValue(std::int64_t{1}));  // N(10,0) may exceed 32 bits
    EXPECT_EQ(points.GetFieldValue("FValue"), FieldValue(1.1));
    EXPECT_EQ(points.ProjectionLengthUnit(), LengthUnit::Degree);
    EXPECT_THROW(points.GetPolylineGeometryNonJaggedArray(), InvalidOperationException);

    ShapefileDataSourceReader lines = Open("two_part_line");
    EXPECT_EQ(lines.ShapeType(), 3);
    ASSERT_TRUE(lines.MoveTo(0));
    const PointArrayList parts{{{0, 0}, {10, 5}, {20, 0}}, {{30, 30}, {40, 45.5}}};
    EXPECT_EQ(lines.GetPolylineGeometryNonJaggedArray(), parts);
    EXPECT_EQ(std::get<PointArrayList>(lines.GetGeometry()), parts);
    ASSERT_TRUE(lines.MoveNext());  // a null shape: no geometry, an empty box
    EXPECT_TRUE(std::holds_alternative<std::monostate>(lines.GetGeometry()));
    EXPECT_TRUE(lines.GetPolylineGeometryNonJaggedArray().empty());
    EXPECT_EQ(lines.GetRecordBoxes(), (std::vector<RecordBox>{{0, 0, 40, 45.5}, {}}));
    EXPECT_FALSE(lines.MoveNext());
    EXPECT_THROW(lines.GetGeometry(), InvalidOperationException);

    ShapefileDataSourceReader polygons = Open("Polygon_Holes");
    ASSERT_TRUE(polygons.MoveTo(1));
    const PointArrayList rings{
        {{0.05396439570183631, -0.3126531125455273}, {0.05147309595545463, -0.35251390848763364},
         {0.059777428443393454, -0.34254870950210703}, {0.06309916143856897, -0.34462479262409174},
         {0.048981796209073, -0.35957259110238166}, {0.0469057130870883, -0.3126531125455273},
         {0.05396439570183631, -0.3126531125455273}},
        {{0.04818367618951632, -0.31403748200228154}, {0.04975286131271223, -0.3566219196559085},
         {0.052755956979518195, -0.31384809759086135}, {0.04818367618951632, -0.31403748200228154}}};
    EXPECT_EQ(polygons.GetPolygonGeometryNonJaggedArray(), rings);
    EXPECT_EQ(polygons.GetCurrentRecordBox(),
              (RecordBox{0.0469057130870883, -0.35957259110238166, 0.06309916143856897, -0.3126531125455273}));
    EXPECT_EQ(polygons.CodePage(), "UTF-8");
}

TEST(ShapefileReader, ReadsMultipointsAndTheZAndMForms) {
    const auto geometryOf = [](const std::string& fixture, int expectedType) {
        ShapefileDataSourceReader reader = Open(fixture);
        EXPECT_EQ(reader.ShapeType(), expectedType) << fixture;
        reader.MoveNext();
        return reader.GetGeometry();
    };
    EXPECT_EQ(std::get<PointArray>(geometryOf("multipoint", 8)), (PointArray{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(std::get<PointArray>(geometryOf("multipointz", 18)), (PointArray{{1, 2}, {3, 4}}));
    EXPECT_EQ(std::get<GeometryPoint>(geometryOf("pointm", 21)), (GeometryPoint{1.5, 2.5}));
    EXPECT_EQ(std::get<PointArrayList>(geometryOf("polylinez", 13)), (PointArrayList{{{0, 0}, {1, 1}}, {{2, 2}, {3, 2}}}));
    EXPECT_EQ(std::get<PointArrayList>(geometryOf("polygonm", 25)),
              (PointArrayList{{{0, 0}, {0, 4}, {4, 4}, {4, 0}, {0, 0}}}));
}

TEST(ShapefileReader, CursorAndFieldLookup) {
    ShapefileDataSourceReader reader = Open("Point");
    EXPECT_EQ(reader.GetFieldNames(), (std::vector<std::string>{"Name", "IValue", "FValue"}));
    EXPECT_EQ(reader.GetFieldType("ivalue"), FieldValueType::Int64);
    EXPECT_EQ(reader.GetFieldType("Missing"), std::nullopt);
    EXPECT_THROW(reader.GetFieldValue("Name"), InvalidOperationException);  // before the first record
    EXPECT_FALSE(reader.MoveTo(9));
    EXPECT_EQ(reader.CurrentPosition(), 9);
    ASSERT_TRUE(reader.MoveTo(8));
    EXPECT_EQ(reader.GetFieldValue(reader.GetFieldIndex("FVALUE")), FieldValue(9.9));
    EXPECT_THROW(reader.GetFieldValue("Missing"), ArgumentException);
    reader.MoveReset();
    int count = 0;
    while (reader.MoveNext()) ++count;
    EXPECT_EQ(count, 9);
    reader.Close();
    EXPECT_THROW(reader.RecordCount(), InvalidOperationException);
}

// What ogrinfo prints for each field of each record ("  NAME (Type) = value").
std::vector<std::map<std::string, std::pair<std::string, std::string>>> OgrRecords(const std::string& output) {
    std::vector<std::map<std::string, std::pair<std::string, std::string>>> records;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("OGRFeature(")) records.emplace_back();
        const std::size_t open = line.find(" ("), close = line.find(") = ");
        if (records.empty() || !line.starts_with("  ") || open == std::string::npos || close == std::string::npos) continue;
        const std::string name = line.substr(2, open - 2);
        records.back()[name] = {line.substr(open + 2, close - open - 2), line.substr(close + 4)};
    }
    return records;
}

void ExpectAsOgrReports(const FieldValue& ours, FieldValueType type, const std::string& ogrType, const std::string& text,
                        const std::string& where) {
    if (text == "(null)") {
        EXPECT_TRUE(IsNull(ours)) << where;
        return;
    }
    if (ogrType == "Integer") {
        EXPECT_EQ(type, FieldValueType::Int32) << where;
        EXPECT_EQ(ours, FieldValue(static_cast<std::int32_t>(std::stol(text)))) << where;
    } else if (ogrType == "Integer64") {
        EXPECT_EQ(type, FieldValueType::Int64) << where;
        EXPECT_EQ(ours, FieldValue(static_cast<std::int64_t>(std::stoll(text)))) << where;
    } else if (ogrType == "Real") {
        EXPECT_EQ(type, FieldValueType::Double) << where;
        const std::size_t dot = text.find('.');
        const double halfLastPlace = 0.5 * std::pow(10.0, dot == std::string::npos ? 0.0 : -double(text.size() - dot - 1));
        ASSERT_TRUE(std::holds_alternative<double>(ours)) << where;
        EXPECT_NEAR(std::get<double>(ours), std::stod(text), halfLastPlace) << where;
    } else if (ogrType == "Date") {
        EXPECT_EQ(type, FieldValueType::DateTime) << where;
        EXPECT_EQ(ours, FieldValue(Date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2))}))
            << where;
    } else if (type == FieldValueType::Boolean) {  // ogrinfo shows a logical field as its letter
        EXPECT_EQ(ours, FieldValue(text == "T" || text == "Y")) << where;
    } else {
        EXPECT_EQ(ours, FieldValue(text)) << where;
    }
}

TEST(ShapefileReader, ReadsEveryDbfTypeAsOgrinfoReportsIt) {
    {  // pinned without ogrinfo: a date, a logical, a 64-bit integer, an F field
        // stored as "1.42948681360561E+03", a 32-bit integer
        ShapefileDataSourceReader burkitt = Open("burkitt");
        burkitt.MoveNext();
        EXPECT_EQ(burkitt.GetFieldValue("DATE"), FieldValue(Date{1901, 2, 16}));
        EXPECT_EQ(burkitt.GetFieldValue("AGE"), FieldValue(22.0));
        ShapefileDataSourceReader eberly = Open("eberly_net");
        eberly.MoveNext();
        EXPECT_EQ(eberly.GetFieldValue("ONEWAY"), FieldValue(false));
        EXPECT_EQ(eberly.GetFieldType("FNODE"), FieldValueType::Double);  // N(20,0) may exceed 64 bits
        ShapefileDataSourceReader fylke = Open("fylk-val");
        fylke.MoveNext();
        EXPECT_EQ(fylke.GetFieldValue("FNODE_"), FieldValue(std::int64_t{3}));
        EXPECT_EQ(fylke.GetFieldValue("LENGTH"), FieldValue(1429.48681360561));
        EXPECT_EQ(fylke.GetFieldValue("LTEMA"), FieldValue(std::int32_t{3211}));
    }
    if (!HaveOgrinfo()) GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed";
    for (const std::string fixture : {"Point", "Polygon_Holes", "burkitt", "eberly_net", "fylk-val"}) {
        const auto output = Output("ogrinfo -q -al " + DataPath(fixture + ".shp"));
        ASSERT_TRUE(output) << fixture;
        const auto expected = OgrRecords(*output);
        ShapefileDataSourceReader reader = Open(fixture);
        ASSERT_EQ(static_cast<int>(expected.size()), reader.RecordCount()) << fixture;
        for (const auto& record : expected) {
            ASSERT_TRUE(reader.MoveNext());
            ASSERT_EQ(record.size(), reader.GetFieldNames().size()) << fixture;
            for (const auto& [name, typeAndText] : record)
                ExpectAsOgrReports(reader.GetFieldValue(name), *reader.GetFieldType(name), typeAndText.first,
                                   typeAndText.second, fixture + " record " + std::to_string(reader.CurrentPosition()) + " " + name);
        }
    }
}

TEST(ShapefileReader, DecodesTextFromTheCpgFileThenTheLanguageDriverThenWindows1252) {
    const auto nameOf = [](std::optional<std::string> cpg, unsigned char languageDriver, const std::string& stored) {
        ShapefileImages images = Images("two_part_line");
        images.cpg = std::move(cpg);
        images.dbf[29] = languageDriver;
        SetStoredText(images.dbf, 1, 10, stored);
        ShapefileDataSourceReader reader;
        reader.OpenDataImages(std::move(images));
        reader.MoveNext();
        return std::get<std::string>(reader.GetFieldValue("NAME"));
    };
    EXPECT_EQ(nameOf(std::nullopt, 0x00, "Z\xFCrich"), "Z\u00FCrich");              // Windows-1252
    EXPECT_EQ(nameOf(std::nullopt, 0x65, "\xAF\xE0\xA8\xAC"), "\u043F\u0440\u0438\u043C");  // cp866 by the language driver
    EXPECT_EQ(nameOf("UTF-8", 0x57, "Z\xC3\xBCrich"), "Z\u00FCrich");               // the .cpg wins over the driver
    EXPECT_EQ(nameOf("88591\n", 0x65, "\xE9t\xE9"), "\u00E9t\u00E9");
    EXPECT_EQ(nameOf("UTF-8", 0x00, "bad\xFF"), "bad\uFFFD");                        // broken text stays valid UTF-8
    EXPECT_EQ(nameOf("no such code page", 0x00, "\x80"), "\u20AC");                  // an unknown .cpg falls back

    // A field name of eleven bytes in Windows-1252 is longer in UTF-8, and
    // is still found by the name the reader gives.
    ShapefileImages images = Images("two_part_line");
    std::copy_n("STRA\xDF" "ENNAME", 11, images.dbf.begin() + 32);
    ShapefileDataSourceReader reader;
    reader.OpenDataImages(std::move(images));
    ASSERT_EQ(reader.GetFieldNames(), std::vector<std::string>{"STRA\u00DFENNAME"});
    EXPECT_EQ(reader.GetFieldIndex("stra\u00DFenname"), 0);
}

TEST(ShapefileReader, NumbersThatDoNotReadAreNullAndKeepTheirRawText) {
    for (const std::string stored : {"", "**********", "N/A", "12abc", "1.5"}) {
        ShapefileImages images = Images("Point");
        SetStoredText(images.dbf, 81, 10, stored);  // IValue N(10,0), after Name C(80)
        ShapefileDataSourceReader reader;
        reader.OpenDataImages(std::move(images));
        reader.MoveNext();
        EXPECT_TRUE(IsNull(reader.GetFieldValue("IValue"))) << stored;
        EXPECT_EQ(reader.GetFieldRawText("IValue"), stored);
    }
    ShapefileImages images = Images("Point");
    SetStoredText(images.dbf, 81, 10, "  +12.000");
    ShapefileDataSourceReader reader;
    reader.OpenDataImages(std::move(images));
    reader.MoveNext();
    EXPECT_EQ(reader.GetFieldValue("IValue"), FieldValue(std::int64_t{12}));
}

TEST(ProjectionUnit, ReadsTheLinearUnitOfProjectedAndGeographicSystems) {
    const std::string projected =
        R"wkt(PROJCS["NAD83 / Kentucky South (ftUS)",GEOGCS["NAD83",DATUM["North_American_Datum_1983",)wkt"
        R"(SPHEROID["GRS 1980",6378137,298.257222101]],PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],)"
        R"(PROJECTION["Lambert_Conformal_Conic_2SP"],PARAMETER["false_easting",1640416.667],UNIT["%s",%s]])";
    const auto withUnit = [&](const std::string& name, const std::string& factor) {
        std::string text = projected;
        text.replace(text.find("%s"), 2, name);
        text.replace(text.find("%s"), 2, factor);
        return ParseProjectionLengthUnit(text);
    };
    EXPECT_EQ(withUnit("US survey foot", "0.3048006096012192"), LengthUnit::USSurveyFoot);
    EXPECT_EQ(withUnit("Foot", "0.3048"), LengthUnit::Foot);
    EXPECT_EQ(withUnit("Meter", "1"), LengthUnit::Metre);
    EXPECT_EQ(withUnit("Chain", "20.1168"), LengthUnit::Unknown);
    EXPECT_EQ(ParseProjectionLengthUnit(R"(PROJCRS["x",BASEGEOGCRS["y",ANGLEUNIT["degree",0.0174]],)"
                                        R"(CS[Cartesian,2],AXIS["easting",east,LENGTHUNIT["metre",1]]])"),
              LengthUnit::Metre);
    EXPECT_EQ(ReadProjectionLengthUnit(DataPath("Point.shp")), LengthUnit::Degree);
    EXPECT_EQ(ReadProjectionLengthUnit(DataPath("burkitt.shp")), LengthUnit::Unknown);  // no .prj
    EXPECT_EQ(ParseProjectionLengthUnit("PROJCS[\"unterminated\",UNIT[\"Meter\",1]"), LengthUnit::Unknown);
    EXPECT_EQ(ParseProjectionLengthUnit(std::string(100000, '[')), LengthUnit::Unknown);
}
