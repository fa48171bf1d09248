#include "polygon_report.h"

#include "planar/planar.h"

namespace AllotrixApp {
namespace {

using Korvex::DPoint3d;

int pointCount(const NamedPolygon& polygon) {
    return static_cast<int>(polygon.points.size());
}

bool centroidOf(const NamedPolygon& polygon, DPoint3d& centroid, double& perimeter) {
    return Korvex::tgxPolygon_centroidAreaPerimeter(polygon.points.data(), pointCount(polygon),
                                                    &centroid, nullptr, nullptr, &perimeter,
                                                    nullptr);
}

std::string formatXY(const DPoint3d& p) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.10g, %.10g)", p.x, p.y);
    return text;
}

const char* placeName(int parity) {
    switch (parity) {
        case 1: return "inside";
        case 0: return "on the boundary";
        case -1: return "outside";
        default: return "undecided";
    }
}

// Extent of the polygon's points, disconnect points left out.
Korvex::DRange2d extentOf(const NamedPolygon& polygon) {
    Korvex::DRange2d range;
    range.init();
    for (const DPoint3d& p : polygon.points) {
        if (!Korvex::tgxDPoint3d_isDisconnect(&p)) range.extend(Korvex::DPoint2d{p.x, p.y});
    }
    return range;
}

}  // namespace

std::vector<SamplePoint> standardSamplePoints(const NamedPolygon& polygon) {
    std::vector<SamplePoint> samples;
    if (polygon.points.size() < 2) return samples;
    DPoint3d centroid;
    double perimeter = 0.0;
    if (centroidOf(polygon, centroid, perimeter)) samples.push_back({"centroid", centroid});
    const DPoint3d& a = polygon.points[0];
    const DPoint3d& b = polygon.points[1];
    samples.push_back({"first vertex", a});
    samples.push_back({"middle of the first edge", {0.5 * (a.x + b.x), 0.5 * (a.y + b.y), 0.0}});
    const Korvex::DRange2d range = extentOf(polygon);
    const double width = range.high.x - range.low.x, height = range.high.y - range.low.y;
    samples.push_back(
        {"far outside", {range.high.x + width + 1.0, range.high.y + height + 1.0, 0.0}});
    return samples;
}

void printPolygonReport(std::FILE* out, const NamedPolygon& polygon,
                        const std::vector<SamplePoint>& samples) {
    const int count = pointCount(polygon);
    std::fprintf(out, "Polygon: %s (%d ring%s, %zu points)\n", polygon.name.c_str(),
                 polygon.ringCount, polygon.ringCount == 1 ? "" : "s",
                 polygon.points.size() - static_cast<size_t>(polygon.ringCount - 1));
    std::fprintf(out, "  signed area  %.10g\n",
                 Korvex::tgxGeom_getXYPolygonArea(polygon.points.data(), count));
    DPoint3d centroid;
    double perimeter = 0.0;
    if (centroidOf(polygon, centroid, perimeter)) {
        std::fprintf(out, "  centroid     %s\n", formatXY(centroid).c_str());
    } else {
        std::fprintf(out, "  centroid     none (the polygon has no area)\n");
    }
    std::fprintf(out, "  perimeter    %.10g\n\nWhere points lie:\n", perimeter);
    for (const SamplePoint& sample : samples) {
        const int parity = Korvex::tgxGeom_XYPolygonParity(&sample.point, polygon.points.data(),
                                                           count, 0.0);
        std::fprintf(out, "  %-26s %-28s %s\n", sample.label.c_str(),
                     formatXY(sample.point).c_str(), placeName(parity));
    }
}

}  // namespace AllotrixApp
