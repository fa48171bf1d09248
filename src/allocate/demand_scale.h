// Demands as whole numbers of a smallest unit (10^-decimals of the model's
// flow unit), so that every sum and split in an allocation is exact and the
// totals balance to the last place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Allotrix::Allocate {

class DemandScale {
public:
    // `decimals` from 0 to 9.
    explicit DemandScale(int decimals = 6);

    int Decimals() const { return m_decimals; }
    // The number of smallest units nearest to `value`; none for a value that
    // is not finite or reaches 10^15 units, beyond which the shortest text of
    // a double no longer spells the exact decimal.
    std::optional<std::int64_t> ToUnits(double value) const;
    // The double nearest to `units` smallest units; for every count ToUnits
    // gives, its shortest text is Format's decimal without trailing zeros.
    double ToDouble(std::int64_t units) const;
    // The exact decimal text, e.g. 1234567 units with 6 decimals: "1.234567".
    std::string Format(std::int64_t units) const;

private:
    int m_decimals;
    double m_unitsPerOne;
};

}  // namespace Allotrix::Allocate
