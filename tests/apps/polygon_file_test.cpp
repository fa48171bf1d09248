#include "polygon_file.h"

#include "planar/planar.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

using AllotrixApp::parsePolygonText;
using AllotrixApp::PolygonText;

namespace {

PolygonText parse(const std::string& text) {
    std::istringstream in(text);
    return parsePolygonText(in, "parcel.txt");
}

}  // namespace

TEST(PolygonFile, RingsCommentsAndLooseSpacing) {
    const PolygonText p = parse(
        "# a square with a hole\n"
        "0 0\n10 0\r\n  10\t10  # trailing comment\n0 10\n"
        "\n   \n"  // several blank lines make one ring break
        "# a comment line keeps the ring going\n"
        "2 2\n2 4\n-4e0 4.5\n4 2\n\n");
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.ringCount, 2);
    ASSERT_EQ(p.points.size(), 9u);
    EXPECT_TRUE(Korvex::tgxDPoint3d_isDisconnect(&p.points[4]));
    EXPECT_EQ(p.points[2].x, 10);
    EXPECT_EQ(p.points[2].y, 10);
    EXPECT_EQ(p.points[7].x, -4);
    EXPECT_EQ(p.points[7].y, 4.5);
    EXPECT_EQ(p.points[7].z, 0);
}

TEST(PolygonFile, BadInputNamesTheLineAndKeepsNoPoints) {
    auto notXY = [](int line, const std::string& found) {
        return "parcel.txt:" + std::to_string(line) +
               ": expected two finite numbers \"x y\", found \"" + found + "\"";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"0 0\n1 0\n1 nan\n", notXY(3, "1 nan")},
        {"0 0\n1 0\ninf 1\n", notXY(3, "inf 1")},
        {"0 0\n1 0\n1 1e999\n", notXY(3, "1 1e999")},
        {"0 0 0\n", notXY(1, "0 0 0")},
        {"0,0\n", notXY(1, "0,0")},
        {"1\n", notXY(1, "1")},
        // Binary garbage is quoted briefly and printably.
        {std::string("\x7f" "ELF\x01\x02 \x00\x00", 9) + "\n", notXY(1, "?ELF?? ??")},
        {"0 0\n1 0\n1 1\n\n# hole\n5 5\n6 6\n",
         "parcel.txt:6: the ring starting here has 2 point(s); a ring needs at least 3"},
        {"# only a comment\n\n", "parcel.txt: no coordinates found"},
        {"", "parcel.txt: no coordinates found"},
    };
    for (const auto& [text, error] : cases) {
        const PolygonText p = parse(text);
        EXPECT_EQ(p.error, error) << text;
        EXPECT_TRUE(p.points.empty());
        EXPECT_EQ(p.ringCount, 0);
    }
}

TEST(PolygonFile, MissingFileAndDirectoryAreReported) {
    EXPECT_EQ(AllotrixApp::readPolygonFile("no-such-polygon.txt").error,
              "no-such-polygon.txt: cannot open: No such file or directory");
    EXPECT_EQ(AllotrixApp::readPolygonFile(ALLOTRIX_TEST_DATA).error,
              std::string(ALLOTRIX_TEST_DATA) + ": is a directory");
}
