// Length units: the model's display unit, the unit a shapefile's projection
// file names, and the list a unit picker offers.
#pragma once

#include <string>
#include <vector>

namespace Norvane::Support {

enum class Dimension { Length };

// Values are stable: hosts store them. Unknown is what a projection file
// without a recognisable linear unit yields.
enum class LengthUnit : int {
    Unknown = 0,
    Millimetre = 1,
    Centimetre = 2,
    Metre = 3,
    Kilometre = 4,
    Foot = 5,
    Inch = 6,
    Yard = 7,
    Mile = 8,
    USSurveyFoot = 9,
    Degree = 10,  // a geographic coordinate system: not a length, but worth telling apart
};

class Unit {
public:
    Unit() = default;
    // The unit of `dimension` whose enumeration value is `enumValue`;
    // ArgumentException when there is none.
    static Unit FromDimensionEnum(Dimension dimension, int enumValue);
    static Unit FromLengthUnit(LengthUnit unit) { return FromDimensionEnum(Dimension::Length, static_cast<int>(unit)); }
    // Every unit of `dimension` a user may pick, smallest first.
    static std::vector<Unit> AvailableUnitsSorted(Dimension dimension);

    LengthUnit Length() const { return m_unit; }
    int Index() const { return static_cast<int>(m_unit); }
    // Short label shown to users ("m", "ft", ...).
    const std::string& Label() const;
    // Full singular name ("metre", "US survey foot", ...).
    const std::string& Name() const;
    // Metres in one of this unit; 0 for Unknown and Degree, which are no lengths.
    double MetresPerUnit() const;
    bool IsLength() const { return MetresPerUnit() > 0.0; }
    // `value` in this unit expressed in `target`; NaN unless both are lengths.
    double ConvertTo(double value, const Unit& target) const;

    friend bool operator==(const Unit&, const Unit&) = default;

private:
    explicit Unit(LengthUnit unit) : m_unit(unit) {}
    LengthUnit m_unit = LengthUnit::Unknown;
};

}  // namespace Norvane::Support
