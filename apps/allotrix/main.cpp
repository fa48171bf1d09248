// The example program: measures a polygon (a built-in parcel, or one read from
// a file of coordinates) and tells where a few points lie.
#include "example_parcel.h"
#include "polygon_file.h"
#include "polygon_report.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kUsageError = 2;

void printUsage(std::FILE* out) {
    std::fputs("usage: allotrix [POLYGON_FILE]\n"
               "Prints the signed area, centroid and perimeter of a polygon and where a few\n"
               "points lie. Without a file, a built-in parcel is measured. The file holds one\n"
               "\"x y\" pair per line, a blank line between rings; '#' starts a comment.\n",
               out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace AllotrixApp;
    const std::string argument = argc > 1 ? argv[1] : "";
    if (argument == "-h" || argument == "--help") {
        printUsage(stdout);
        return 0;
    }
    if (argc > 2) {
        printUsage(stderr);
        return kUsageError;
    }
    if (argc == 1) {
        printPolygonReport(stdout, exampleParcel(), exampleParcelSamplePoints());
        return 0;
    }
    PolygonText text = readPolygonFile(argument);
    if (!text.error.empty()) {
        std::fprintf(stderr, "allotrix: %s\n", text.error.c_str());
        return kUsageError;
    }
    const NamedPolygon polygon{argument, std::move(text.points), text.ringCount};
    printPolygonReport(stdout, polygon, standardSamplePoints(polygon));
    return 0;
}
