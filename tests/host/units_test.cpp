#include <gtest/gtest.h>

#include "host/host.h"

using namespace Norvane::Support;

TEST(Units, SortedLengthsConvertAndRejectUnknownValues) {
    const auto units = Unit::AvailableUnitsSorted(Dimension::Length);
    ASSERT_EQ(units.size(), 9u);
    EXPECT_EQ(units.front().Length(), LengthUnit::Millimetre);
    EXPECT_EQ(units.back().Length(), LengthUnit::Mile);
    for (std::size_t i = 1; i < units.size(); ++i)
        EXPECT_LT(units[i - 1].MetresPerUnit(), units[i].MetresPerUnit());
    EXPECT_DOUBLE_EQ(Unit::FromLengthUnit(LengthUnit::Mile).ConvertTo(1.0, Unit::FromLengthUnit(LengthUnit::Foot)),
                     5280.0);
    EXPECT_NEAR(Unit::FromLengthUnit(LengthUnit::USSurveyFoot).MetresPerUnit(), 0.3048006096012192, 1e-16);
    EXPECT_TRUE(std::isnan(Unit::FromLengthUnit(LengthUnit::Degree).ConvertTo(1.0, Unit::FromLengthUnit(LengthUnit::Metre))));
    EXPECT_EQ(Unit::FromLengthUnit(LengthUnit::Foot).Label(), "ft");
    EXPECT_THROW(Unit::FromDimensionEnum(Dimension::Length, 99), ArgumentException);
    EXPECT_TRUE(GeometryPoint::Empty().IsEmpty());
    EXPECT_FALSE((GeometryPoint{1.0, std::nan("")}).IsEmpty());
}
