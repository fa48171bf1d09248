// The map page opens in a real browser without network access: headless
// Chromium runs its inline script, which counts the drawn elements, and a
// screenshot of it is not blank.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <set>

#include "allocate/writers/map_page.h"
#include "allocation_fixture.h"

using namespace Allotrix::Allocate;
using namespace allocate_test;

namespace {

const char* const kChromiumFlags =
    " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking"
    " --disable-component-update --disable-sync";

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

struct Pixels {
    std::size_t total = 0, notWhite = 0, colours = 0;
};

// Reads an 8-bit RGB or RGBA PNG, as Chromium writes screenshots, and counts
// what is on it; all zero when the file is no such PNG.
Pixels CountPixels(const std::string& png) {
    Pixels pixels;
    if (png.size() < 33 || png.compare(1, 3, "PNG") != 0) return pixels;
    const std::uint32_t width = bigEndian(png, 16), height = bigEndian(png, 20);
    const int depth = png[24], type = png[25];
    if (depth != 8 || (type != 2 && type != 6) || png[28] != 0) return pixels;
    const std::size_t channels = type == 6 ? 4 : 3, stride = width * channels;
    std::string compressed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian(png, at);
        if (png.compare(at + 4, 4, "IDAT") == 0) compressed += png.substr(at + 8, length);
        at += 12 + length;
    }
    std::vector<unsigned char> raw((stride + 1) * height);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(compressed.data()), compressed.size()) != Z_OK)
        return pixels;
    std::vector<unsigned char> previous(stride, 0), row(stride);
    std::set<std::uint32_t> colours;
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char filter = raw[y * (stride + 1)];
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= channels ? row[x - channels] : 0, b = previous[x], c = x >= channels ? previous[x - channels] : 0;
            const int paeth = [&] {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }();
            const int predictors[] = {0, a, b, (a + b) / 2, paeth};
            row[x] = static_cast<unsigned char>(raw[y * (stride + 1) + 1 + x] + predictors[filter % 5]);
        }
        for (std::size_t x = 0; x < width; ++x) {
            const unsigned char* p = &row[x * channels];
            ++pixels.total;
            if (p[0] < 240 || p[1] < 240 || p[2] < 240) ++pixels.notWhite;
            colours.insert(static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]);
        }
        previous = row;
    }
    pixels.colours = colours.size();
    return pixels;
}

}  // namespace

TEST(MapPage, OpensOfflineInHeadlessChromiumWithEveryElementDrawn) {
    if (!shapefile_test::Output("command -v chromium")) GTEST_SKIP() << "chromium is not installed";
    Session session;
    const std::string services =
        session.WritePolygons("services.shp", {{{Box(20, 60, 40, 80)}, "11", {}}, {{Box(40, 30, 60, 50)}, "22", {}}});
    const std::string meters = session.WriteMeters("meters.shp", {{"M1", GeometryPoint{25, 65}, 1.5},
                                                                  {"M2", GeometryPoint{35, 75}, 2.25},
                                                                  {"M3", GeometryPoint{45, 45}, 3},
                                                                  {"M4", GeometryPoint{90, 90}, 1}});
    const AllocationResult result =
        RunAllocation(session.Inputs(meters, services), ServiceOptions(AllocationMethod::ServiceArea));
    const std::string page = session.Folder().File("map.html");
    {
        std::ofstream out(page);
        WriteMapPage(out, "Net1 <test>", result, session.Model().Model());
    }
    EXPECT_EQ(ReadFile(page).find("http:"), ReadFile(page).find("http://www.w3.org/2000/svg"));  // nothing to fetch

    const std::string browser = "chromium" + std::string(kChromiumFlags) + " --user-data-dir=" +
                                session.Folder().File("profile") + " ";
    const auto dom = shapefile_test::Output(browser + "--dump-dom file://" + page);
    ASSERT_TRUE(dom);
    // Net1: 13 links, 11 nodes; 4 meters, one of them outside; 3 connectors.
    EXPECT_NE(dom->find("Drawn: 13 pipes, 11 nodes, 4 meters (1 unallocated), 3 connectors."), std::string::npos)
        << dom->substr(0, 2000);
    EXPECT_NE(dom->find("<title>Net1 &lt;test&gt;</title>"), std::string::npos);

    const std::string shot = session.Folder().File("map.png");
    shapefile_test::Output(browser + "--window-size=900,700 --screenshot=" + shot + " file://" + page);
    const Pixels pixels = CountPixels(ReadFile(shot));
    EXPECT_EQ(pixels.total, 900u * 700u);
    EXPECT_GT(pixels.notWhite, pixels.total / 50);
    EXPECT_GT(pixels.colours, 8u);
}
