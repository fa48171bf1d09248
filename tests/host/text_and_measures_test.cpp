// The text table and the polyline measures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/host.h"

using namespace Norvane::Support;

TEST(TextManager, ServesTheTablesAndReplacesPlaceholdersOnce) {
    const TextManager& texts = TextManager::Current();
    EXPECT_EQ(&texts, &TextManager::Current());
    EXPECT_EQ(texts.Get("zordd.error.FileNotFound", {"D:\\a.shp"}), "File not found: D:\\a.shp.");
    EXPECT_EQ(texts.Get("zordd.error.ValueNotInteger", {"ID"}), "Integer values were expected from field \"ID\".");
    EXPECT_EQ(texts.Get("allotrix.DomainLayerSelectionDialog.Label", {"Junction", "Hydrant"}), "Junction and Hydrant");
    EXPECT_EQ(texts.Get("zordd.info.LengthUnitAssumedSHP", {"ft"}),
              "Length unit for this Esri Shapefile assumed to be the same as the one used by the model: (ft).");
    EXPECT_EQ(texts.Get("shpFilterText"), "Esri Shapefiles (*.shp)");
    EXPECT_EQ(texts.Get("buttonCancel.Text"), "Cancel");
    EXPECT_NE(texts.Get("zor.error.ComputeVerticesLimitExceeded").find("5000"), std::string::npos);
    // An argument's own placeholder is not replaced again; a missing argument
    // leaves its placeholder; an unknown key names itself.
    EXPECT_EQ(texts.Get("allotrix.DomainLayerSelectionDialog.Label", {"%2", "B"}), "%2 and B");
    EXPECT_EQ(texts.Get("allotrix.DomainLayerSelectionDialog.Label", {"A"}), "A and %2");
    EXPECT_EQ(texts.Get("no.such.key", {"x"}), "no.such.key");
    EXPECT_FALSE(texts.Contains("no.such.key"));
    for (const char* key : {"buttonSelect.Cancel", "buttonSelect.Text", "zordd.error.CouldNotOpenSHP",
                            "zordd.error.InvalidSHPTypeSelection", "zordd.info.AllElements", "zordd.info.AllotrixTitle",
                            "zordm.error.ComplexPolygonFound", "zordm.error.PlexGeometryOperationError",
                            "zordm.error.ValueNotDouble", "label1.Text"})
        EXPECT_TRUE(texts.Contains(key)) << key;
}

TEST(MathLibrary, LengthsAndCentrePointsOfPolylines) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_DOUBLE_EQ(MathLibrary::CalculateLineLength({0, 0}, {3, 4}), 5.0);
    EXPECT_DOUBLE_EQ(GeometryLibrary::GetDistance({1e300, 0}, {-1e300, 0}), 2e300);  // no overflow
    EXPECT_GT(MathLibrary::CalculateLineLength({0, 0}, {0, 1e-200}), 0.0);             // no underflow

    const PointArray l{{0, 0}, {10, 0}, {10, 10}};
    EXPECT_DOUBLE_EQ(MathLibrary::CalculatePolylineLength(l), 20.0);
    EXPECT_EQ(MathLibrary::CalculatePolylineCenterPoint(l), (GeometryPoint{10, 0}));  // exactly at the bend
    EXPECT_EQ(MathLibrary::CalculatePolylineCenterPoint({{0, 0}, {0, 0}, {4, 0}, {4, 0}}), (GeometryPoint{2, 0}));
    EXPECT_EQ(MathLibrary::CalculatePolylineCenterPoint({{0, 0}, {3, 0}, {3, 1}}), (GeometryPoint{2, 0}));

    EXPECT_EQ(MathLibrary::CalculatePolylineLength({}), 0.0);
    EXPECT_EQ(MathLibrary::CalculatePolylineLength({{5, 5}}), 0.0);
    EXPECT_TRUE(MathLibrary::CalculatePolylineCenterPoint({}).IsEmpty());
    EXPECT_EQ(MathLibrary::CalculatePolylineCenterPoint({{5, 6}}), (GeometryPoint{5, 6}));
    EXPECT_EQ(MathLibrary::CalculatePolylineCenterPoint({{5, 6}, {5, 6}}), (GeometryPoint{5, 6}));
    EXPECT_TRUE(std::isnan(MathLibrary::CalculatePolylineLength({{0, 0}, {nan, 1}})));
    EXPECT_TRUE(MathLibrary::CalculatePolylineCenterPoint({{0, 0}, {nan, 1}, {2, 2}}).IsEmpty());
    EXPECT_TRUE(MathLibrary::CalculatePolylineCenterPoint({{0, 0}, {INFINITY, 1}}).IsEmpty());
}
