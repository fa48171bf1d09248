#include "allocate/proportional_split.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace Allotrix::Allocate {

namespace {

// The split into `shares`, with `remainders` and `order` as working room;
// all three have one entry per weight.
void splitInto(std::int64_t total, std::span<const double> weights, std::span<std::int64_t> shares,
               std::span<long double> remainders, std::span<std::size_t> order) {
    long double sum = 0.0L;
    for (const double weight : weights) {
        if (!std::isfinite(weight) || weight < 0.0) throw std::invalid_argument("a weight is negative or not finite");
        sum += weight;
    }
    if (total < 0 || weights.empty() || !(sum > 0.0L) || !std::isfinite(static_cast<double>(sum)))
        throw std::invalid_argument("nothing to split by");

    const std::size_t n = weights.size();
    std::int64_t given = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const long double exact = static_cast<long double>(total) * weights[i] / sum;
        const long double whole = std::clamp(std::floor(exact), 0.0L, static_cast<long double>(total));
        shares[i] = static_cast<std::int64_t>(whole);
        remainders[i] = exact - whole;
        given += shares[i];
    }
    // Largest remainders first, then the earlier weight: a total order, so
    // an in-place sort gives it without the buffer a stable sort takes.
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return remainders[a] != remainders[b] ? remainders[a] > remainders[b] : a < b;
    });
    // Rounding of the proportions can leave the floors off by a unit or two
    // either way; walk the order until the shares meet the total.
    for (std::size_t k = 0; given < total; k = (k + 1) % n) {
        if (weights[order[k]] == 0.0) continue;
        ++shares[order[k]];
        ++given;
    }
    for (std::size_t k = n - 1; given > total; k = (k + n - 1) % n) {
        const std::size_t i = order[k];
        if (shares[i] == 0) continue;
        --shares[i];
        --given;
    }
}

}  // namespace

std::vector<std::int64_t> SplitProportionally(std::int64_t total, std::span<const double> weights) {
    std::vector<std::int64_t> shares(weights.size());
    std::vector<long double> remainders(weights.size());
    std::vector<std::size_t> order(weights.size());
    splitInto(total, weights, shares, remainders, order);
    return shares;
}

std::array<std::int64_t, 2> SplitInTwo(std::int64_t total, double first, double second) {
    const double weights[] = {first, second};
    std::array<std::int64_t, 2> shares{};
    std::array<long double, 2> remainders{};
    std::array<std::size_t, 2> order{};
    splitInto(total, weights, shares, remainders, order);
    return shares;
}

}  // namespace Allotrix::Allocate
