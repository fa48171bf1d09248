// Splitting a whole number of demand units in proportion to weights, so that
// the shares add up to the total exactly.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace Allotrix::Allocate {

// Shares of `total` (at least 0) in proportion to `weights` (each finite and
// at least 0, their sum above 0): each share is its exact proportion rounded
// down, and the units left over go one each to the largest remainders, the
// first weight winning a tie. The shares always sum to `total`.
// std::invalid_argument when the weights cannot divide anything.
std::vector<std::int64_t> SplitProportionally(std::int64_t total, std::span<const double> weights);
// The same for two weights, without allocating: one per meter on a pipe.
std::array<std::int64_t, 2> SplitInTwo(std::int64_t total, double first, double second);

}  // namespace Allotrix::Allocate
