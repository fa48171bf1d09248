// The Boolean operations against GEOS on seeded random pairs of polygons,
// built through the same pipeline as the native polygon operations.
#include <gtest/gtest.h>

#include "vu/polygon_pairs.h"

namespace Korvex {
namespace {

using namespace vutest;

// Agreement within 1e-9 of the operands' area.
void expectAgreement(Geos& geos, const PolygonPair& pair) {
    GEOSGeometry *a = geos.polygon(pair.a), *b = geos.polygon(pair.b);
    const bool valid = GEOSisValid_r(geos.context, a) == 1 && GEOSisValid_r(geos.context, b) == 1;
    double expected[4];
    for (int i = 0; i < 4; ++i) expected[i] = geos.area(kGeosOperations[i](geos.context, a, b));
    const double scale = geos.area(a) + geos.area(b);
    ASSERT_TRUE(valid);
    for (int i = 0; i < 4; ++i) {
        const auto& [name, operation, difference] = kPipelineOperations[i];
        ASSERT_NEAR(booleanResultArea(pair.a, pair.b, operation, difference), expected[i],
                    1e-9 * scale)
            << name;
    }
}

TEST(BooleanDifferential, AreasAgreeWithGeos) {
    Geos geos;
    PolygonMaker maker{std::mt19937(20261205)};
    for (const auto& [kind, makePair] : kKinds) {
        for (int trial = 0; trial < 80 * kTrialScale; ++trial) {
            SCOPED_TRACE(testing::Message() << kind << " pair " << trial);
            expectAgreement(geos, makePair(maker));
            if (HasFatalFailure()) return;
        }
    }
    // Large rings: nearly circles, whose edges are short, and deep stars,
    // whose long edges cross in a maze.
    PolygonMaker large{std::mt19937(99)};
    expectAgreement(geos, {{large.star({0, 0}, 0.999, 1.0, 4000 * kTrialScale)},
                           {large.star({0.3, 0.2}, 0.999, 1.0, 4000 * kTrialScale)}});
    expectAgreement(geos, {{large.star({0, 0}, 0.6, 1.0, 1500)}, {large.star({0.3, 0.2}, 0.6, 1.0, 1500)}});
}

}  // namespace
}  // namespace Korvex
