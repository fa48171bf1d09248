#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <sstream>

#include "host/host.h"
#include "shapefile_test_support.h"

using namespace Norvane::Shapefile;
using namespace Norvane::Support;
using namespace shapefile_test;

namespace {

std::vector<FieldValue> ValuesOf(ShapefileDataSourceReader& reader) {
    std::vector<FieldValue> values;
    for (const std::string& name : reader.GetFieldNames()) values.push_back(reader.GetFieldValue(name));
    return values;
}

// Every file of the folder with its bytes, to show that nothing changed.
std::map<std::string, std::vector<unsigned char>> Snapshot(const ScratchFolder& folder) {
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files[entry.path().filename().string()] = Bytes(entry.path().string());
    return files;
}

const Date kLeapDay{2024, 2, 29};

// Three points: one with every field set, one with nulls, a null shape.
void WriteThreeMeters(ShapefileDataSourceWriter& writer) {
    writer.AddField(DBFFieldInfo("NAME", DBFFieldType::Text));
    writer.AddField(DBFFieldInfo("VALUE", DBFFieldType::Double));
    writer.AddField(DBFFieldInfo("DAY", DBFFieldType::Date));
    writer.AddField(DBFFieldInfo("FLAG", DBFFieldType::Logical));
    writer.AddRecordBegin();
    writer.WritePointGeometry({500000.25, 4000000.5});
    writer.WriteFieldData(std::int32_t{1}, "Id");
    writer.WriteFieldData(std::int64_t{7}, "ElementID");
    writer.WriteFieldData(std::string("Z\u00FCrich"), "name");
    writer.WriteFieldData(0.1, "VALUE");
    writer.WriteFieldData(kLeapDay, "DAY");
    writer.WriteFieldData(true, "FLAG");
    writer.AddRecordEnd();
    writer.AddRecordBegin();
    writer.WritePointGeometry({-1.0, -2.0});
    writer.AddRecordEnd();
    writer.AddRecordBegin();
    writer.WriteFieldData(-12345.678, "VALUE");
    writer.AddRecordEnd();
}

}  // namespace

TEST(ShapefileWriter, FillsAnEmptyShapefileThatOgrinfoAndPyshpReadAlike) {
    ScratchFolder folder;
    const std::string base = folder.File("meters");
    WriteEmptyShapefile(base, 1);
    ShapefileDataSourceWriter writer;
    ASSERT_TRUE(writer.OpenDataFile(base + ".shp"));
    WriteThreeMeters(writer);
    writer.Close();

    // NAME, declared 80 wide, is as wide as "Z\u00FCrich" in UTF-8.
    EXPECT_EQ(Bytes(base + ".dbf").at(32 + 2 * 32 + 16), 7);
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(base);
    ASSERT_EQ(reader.RecordCount(), 3);
    EXPECT_EQ(reader.CodePage(), "UTF-8");
    reader.MoveNext();
    EXPECT_EQ(reader.GetPointGeometry(), (GeometryPoint{500000.25, 4000000.5}));
    EXPECT_EQ(ValuesOf(reader), (std::vector<FieldValue>{std::int32_t{1}, std::int32_t{7}, std::string("Z\u00FCrich"), 0.1,
                                                         kLeapDay, true}));
    reader.MoveNext();
    EXPECT_EQ(ValuesOf(reader), std::vector<FieldValue>(6));
    reader.MoveNext();
    EXPECT_TRUE(reader.GetPointGeometry().IsEmpty());
    EXPECT_EQ(reader.GetFieldValue("VALUE"), FieldValue(-12345.678));

    if (HaveOgrinfo()) {
        const auto ogr = Output("ogrinfo -al " + base + ".shp");
        ASSERT_TRUE(ogr);
        for (const char* expected : {"Extent: (-1.000000, -2.000000) - (500000.250000, 4000000.500000)",
                                     "NAME (String) = Z\u00FCrich", "VALUE (Real) = 0.100000000000000",
                                     "DAY (Date) = 2024/02/29", "FLAG (String) = T", "POINT (500000.25 4000000.5)",
                                     "POINT (-1 -2)", "VALUE (Real) = -12345.677999999999884"})
            EXPECT_NE(ogr->find(expected), std::string::npos) << expected << "\n" << *ogr;
    }
    if (const auto python = PyshpPython()) {
        const auto pyshp = Output(*python + " -c \"import shapefile; r = shapefile.Reader('" + base +
                                  "'); print([(s.points, list(rec)) for s, rec in zip(r.shapes(), r.records())])\"");
        ASSERT_TRUE(pyshp);
        EXPECT_EQ(*pyshp,
                  "[([[500000.25, 4000000.5]], [1, 7, 'Z\u00FCrich', 0.1, datetime.date(2024, 2, 29), True]), "
                  "([[-1.0, -2.0]], [None, None, '', None, None, None]), "  // pyshp reads blank text as ''
                  "([], [None, None, '', -12345.678, None, None])]\n");
    }
}

TEST(ShapefileWriter, WritesPolylinePartsAndPolygonRingsThatReadBackExactly) {
    ScratchFolder folder;
    const std::string lines = folder.File("lines");
    const std::string polygons = folder.File("polygons");
    WriteEmptyShapefile(lines, 3);
    WriteEmptyShapefile(polygons, 5);
    const PointArrayList parts{{{0, 0}, {10, 5}, {20, 0}}, {{30, 30}, {40, 45.5}}};
    // Given anticlockwise, open and with an unclosed clockwise hole: stored
    // closed and wound as the format wants.
    const PointArrayList rings{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{2, 2}, {2, 8}, {8, 8}, {8, 2}, {2, 2}}};
    ShapefileDataSourceWriter writer;
    writer.OpenDataFile(lines);
    writer.AddRecordBegin();
    writer.WritePolylineGeometry(parts);
    writer.AddRecordEnd();
    writer.Close();
    writer.OpenDataFile(polygons);
    writer.AddRecordBegin();
    writer.WritePolygonGeometry(rings);
    writer.AddRecordEnd();
    writer.Close();

    ShapefileDataSourceReader reader;
    reader.OpenDataFile(lines);
    reader.MoveNext();
    EXPECT_EQ(reader.GetPolylineGeometryNonJaggedArray(), parts);
    reader.OpenDataFile(polygons);
    reader.MoveNext();
    EXPECT_EQ(reader.GetPolygonGeometryNonJaggedArray(),
              (PointArrayList{{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}, {{2, 2}, {8, 2}, {8, 8}, {2, 8}, {2, 2}}}));
    EXPECT_EQ(reader.GetCurrentRecordBox(), (RecordBox{0, 0, 10, 10}));
    if (HaveOgrinfo()) {
        const auto ogr = Output("ogrinfo -q -al " + polygons + ".shp");
        ASSERT_TRUE(ogr);
        EXPECT_NE(ogr->find("POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,8 2,8 8,2 8,2 2))"), std::string::npos) << *ogr;
    }
}

// New records are written without shapelib; the files must still be the
// bytes shapelib writes for the same records, also when an edit of an older
// record comes between two runs of new ones.
TEST(ShapefileWriter, NewRecordsAreTheBytesShapelibWrites) {
    const PointArrayList shapes[] = {{{{0, 0}, {10, 5}, {20, 0}}, {{30, 30}, {40, 45.5}, {35, 50}}},
                                     {{{1, 1}, {1, 9}, {9, 9}, {9, 1}, {1, 1}}},
                                     {},
                                     {{{-3.25, 7}, {1e6, -2e6}, {5, 5}}}};
    for (const int type : {1, 3, 5, 8}) {
        SCOPED_TRACE(type);
        ScratchFolder folder;
        const std::string ours = folder.File("ours");
        WriteEmptyShapefile(ours, type);
        ShapefileDataSourceWriter writer;
        writer.OpenDataFile(ours);
        writer.AddField(DBFFieldInfo("NAME", DBFFieldType::Text));
        const auto append = [&](std::size_t i) {
            writer.AddRecordBegin();
            if (type == 1 && !shapes[i].empty()) writer.WritePointGeometry(shapes[i].front().front());
            if (type == 3 || type == 8) writer.WritePolylineGeometry(shapes[i]);
            if (type == 5) writer.WritePolygonGeometry(shapes[i]);
            writer.WriteFieldData(std::string("record ") + std::to_string(i), "NAME");
            writer.AddRecordEnd();
        };
        append(0);
        append(1);
        writer.MoveTo(0);
        writer.WriteFieldData(std::string("changed"), "NAME");
        append(2);
        append(3);
        writer.Close();

        // The same records through shapelib alone.
        const std::string theirs = folder.File("theirs");
        WriteEmptyShapefile(theirs, type);
        CopyRecordsWithShapelib(ours, theirs);
        for (const char* extension : {".shp", ".shx", ".dbf"}) {
            std::vector<unsigned char> mine = Bytes(ours + extension), shapelibs = Bytes(theirs + extension);
            // Aside: the header's box, which shapelib starts from the empty
            // prototype's (0, 0, -1, -1).
            if (std::string(extension) != ".dbf" && mine.size() > 68 && shapelibs.size() > 68)
                std::copy_n(shapelibs.begin() + 36, 32, mine.begin() + 36);
            EXPECT_EQ(mine, shapelibs) << extension;
        }

        ShapefileDataSourceReader reader;
        reader.OpenDataFile(ours);
        ASSERT_EQ(reader.RecordCount(), 4);
        const std::vector<unsigned char> dbf = Bytes(ours + ".dbf");
        EXPECT_EQ(dbf.back(), 0x1A);
        reader.MoveNext();
        EXPECT_EQ(reader.GetFieldValue("NAME"), FieldValue(std::string("changed")));
        reader.MoveTo(3);
        EXPECT_EQ(reader.GetFieldValue("NAME"), FieldValue(std::string("record 3")));
    }
}

TEST(ShapefileWriter, SetsValuesAndShapesOfExistingRecordsWhileWalking) {
    ScratchFolder folder;
    const std::string shp = folder.Copy("Point");
    const auto before = Snapshot(folder);
    ShapefileDataSourceWriter writer;
    writer.OpenDataFile(shp);
    while (writer.MoveNext()) writer.WriteFieldData(std::int64_t{100 + writer.CurrentPosition()}, "IValue");
    writer.Discard();  // nothing written
    EXPECT_EQ(Snapshot(folder), before);

    writer.OpenDataFile(shp);
    writer.MoveReset();
    while (writer.MoveNext()) writer.WriteFieldData(std::int64_t{100 + writer.CurrentPosition()}, "IValue");
    writer.MoveTo(2);
    writer.WriteGeometry({{5.0, 6.0}});
    // Text goes into the file's own code page (Windows-1252 here), so that
    // old and new text read alike; what it cannot hold is refused.
    writer.WriteFieldData(std::string("Z\u00FCrich"), "Name");
    EXPECT_THROW(writer.WriteFieldData(std::string("\u65E5\u672C"), "Name"), ArgumentException);
    writer.Close();
    EXPECT_FALSE(std::filesystem::exists(folder.File("Point.cpg")));

    ShapefileDataSourceReader reader;
    reader.OpenDataFile(shp);
    ASSERT_EQ(reader.RecordCount(), 9);
    const double unchanged[] = {1.1, 2.2, 3.3, 4.4, 5.5, 6.6, 7.7, 8.8, 9.9};
    while (reader.MoveNext()) {
        EXPECT_EQ(reader.GetFieldValue("IValue"), FieldValue(std::int64_t{100 + reader.CurrentPosition()}));
        EXPECT_EQ(reader.GetFieldValue("FValue"), FieldValue(unchanged[reader.CurrentPosition()]));
    }
    reader.MoveTo(2);
    EXPECT_EQ(reader.GetPointGeometry(), (GeometryPoint{5.0, 6.0}));
    EXPECT_EQ(reader.GetFieldValue("Name"), FieldValue(std::string("Z\u00FCrich")));
    EXPECT_EQ(reader.GetFieldRawText("Name"), "Z\u00FCrich");
    reader.MoveTo(3);
    EXPECT_EQ(reader.GetFieldValue("Name"), FieldValue(std::string("Four")));
}

TEST(ShapefileWriter, RefusesWhatTheFileCannotHoldAndStaysUsable) {
    ScratchFolder folder;
    const std::string base = folder.File("points");
    WriteEmptyShapefile(base, 1);
    ShapefileDataSourceWriter writer;
    writer.OpenDataFile(base);
    writer.AddField(DBFFieldInfo("NAME", DBFFieldType::Text, 4, 0));
    EXPECT_THROW(writer.AddField(DBFFieldInfo("ElementId", DBFFieldType::Integer)), ArgumentException);  // taken
    EXPECT_THROW(writer.AddField(DBFFieldInfo("LONGER_THAN_10", DBFFieldType::Integer)), ArgumentException);
    EXPECT_THROW(writer.AddField(DBFFieldInfo("W", DBFFieldType::Date, 9, 0)), ArgumentException);
    EXPECT_THROW(writer.WriteFieldData(1, "Id"), InvalidOperationException);  // not on a record
    writer.AddRecordBegin();
    EXPECT_THROW(writer.WriteFieldData(std::string("too long"), "NAME"), ArgumentException);
    EXPECT_THROW(writer.WriteFieldData(std::int32_t{1234567}, "Id"), ArgumentException);  // N(6)
    EXPECT_THROW(writer.WriteFieldData(std::string("x"), "Missing"), ArgumentException);
    EXPECT_THROW(writer.WriteFieldData(std::string("12abc"), "Id"), ArgumentException);
    EXPECT_THROW(writer.WritePointGeometry({std::nan(""), 1.0}), ArgumentException);
    EXPECT_THROW(writer.WritePolygonGeometry(PointArray{{0, 0}, {1, 1}, {0, 1}}), ArgumentException);
    EXPECT_THROW(writer.WriteGeometry({{0, 0}, {1, 1}}), ArgumentException);
    writer.WriteFieldData(std::string("42"), "Id");
    writer.AddRecordEnd();
    writer.Close();
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(base);
    ASSERT_EQ(reader.RecordCount(), 1);
    reader.MoveNext();
    EXPECT_EQ(reader.GetFieldValue("Id"), FieldValue(std::int32_t{42}));
}

// Writes 100,000 points into `base`; the text of the error that stopped it.
std::string FailureOfLargeWrite(const std::string& base, const std::string& name = "meter", int count = 100000) {
    try {
        ShapefileDataSourceWriter writer;
        writer.OpenDataFile(base);
        writer.AddField(DBFFieldInfo("NAME", DBFFieldType::Text));
        for (int i = 0; i < count; ++i) {
            writer.AddRecordBegin();
            writer.WritePointGeometry({double(i), double(i)});
            writer.WriteFieldData(name, "NAME");
            writer.AddRecordEnd();
        }
        writer.Close();
    } catch (const ApplicationException& e) {
        return e.what();
    }
    return "no failure";
}

TEST(ShapefileWriter, AFailedWriteLeavesTheFilesAsTheyWereAndNamesTheFile) {
    ScratchFolder folder;
    const std::string base = folder.File("result");
    WriteEmptyShapefile(base, 1);
    const auto before = Snapshot(folder);
    {  // a full disk, as a file-size limit makes it look
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1 << 20;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const std::string failure = FailureOfLargeWrite(base);
        // Long names: the attributes fail first, as the writer closes.
        const std::string closing = FailureOfLargeWrite(base, std::string(80, 'x'), 20000);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_NE(failure.find("Could not write " + base + ".shp: File too large"), std::string::npos) << failure;
        EXPECT_NE(closing.find("Could not write " + base + ".dbf: File too large"), std::string::npos) << closing;
        EXPECT_EQ(Snapshot(folder), before);
    }
    // A read-only folder; the superuser may write anywhere, so the check runs
    // as nobody in a child process.
    using std::filesystem::perms;
    std::filesystem::permissions(folder.Path(), perms::owner_read | perms::owner_exec | perms::group_read |
                                                    perms::group_exec | perms::others_read | perms::others_exec);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(2);
            std::fputs(FailureOfLargeWrite(base).c_str(), stderr);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "Could not write .*result\\.shp: Permission denied");
    EXPECT_EQ(Snapshot(folder), before);
}

TEST(DBFExternalDataSource, AddsFieldsToTheAttributesAlone) {
    ScratchFolder folder;
    const std::string shp = folder.Copy("Point");
    const auto shapes = Bytes(shp);
    DBFExternalDataSource dbf(folder.File("Point.DBF"), true, false);
    EXPECT_EQ(dbf.RecordCount(), 9);
    dbf.AddField(DBFFieldInfo("ElementID", DBFFieldType::Integer));
    EXPECT_EQ(dbf.GetFieldNames(), (std::vector<std::string>{"Name", "IValue", "FValue", "ElementID"}));
    dbf.Close();
    EXPECT_EQ(Bytes(shp), shapes);
    ShapefileDataSourceReader reader;
    reader.OpenDataFile(shp);
    reader.MoveTo(8);
    EXPECT_EQ(ValuesOf(reader), (std::vector<FieldValue>{std::string("Nine"), std::int64_t{9}, 9.9, FieldValue()}));
    EXPECT_EQ(reader.GetFieldType("ElementID"), FieldValueType::Int32);

    EXPECT_THROW(DBFExternalDataSource(folder.File("absent.dbf"), true, false), FileNotFoundException);
    DBFExternalDataSource created(folder.File("new.dbf"), true, true);
    created.AddField(DBFFieldInfo("Id", DBFFieldType::Integer));
    created.Close();
    EXPECT_EQ(DBFExternalDataSource(folder.File("new.dbf"), false, false).GetFieldNames(), (std::vector<std::string>{"Id"}));
    DBFExternalDataSource readOnly(folder.File("new.dbf"), false, false);
    EXPECT_THROW(readOnly.AddField(DBFFieldInfo("More", DBFFieldType::Integer)), InvalidOperationException);
}
