// SPDX-License-Identifier: MIT
#include "textmodel/parity_split.h"

#include <algorithm>
#include <cmath>

namespace solvena::textmodel {

ParitySplit::ParitySplit(std::size_t blocks)
    : counts_{std::vector<std::uint32_t>(blocks), std::vector<std::uint32_t>(blocks)} {}

double ParitySplit::TakeExcessBits() {
    double places[2] = {0, 0};
    for (const std::uint16_t block : touched_) {
        places[0] += counts_[0][block];
        places[1] += counts_[1][block];
    }
    const double units = places[0] + places[1];
    // The mutual information of place and block, times the units: in a
    // text whose blocks do not depend on the place, it is chi-square
    // distributed with (blocks - 1) degrees of freedom, over 2 ln 2.
    double bits = 0;
    for (const std::uint16_t block : touched_) {
        const double both = counts_[0][block] + counts_[1][block];
        for (int parity = 0; parity < 2; ++parity) {
            const double count = counts_[parity][block];
            if (count > 0) {
                bits += count * std::log2(count * units / (places[parity] * both));
            }
            counts_[parity][block] = 0;
        }
    }
    const double freedom = static_cast<double>(touched_.size()) - 1;
    touched_.clear();
    if (freedom <= 0) {
        return 0;
    }
    // Chance's mean and four of its standard deviations are allowed.
    const double allowed = (freedom + 4 * std::sqrt(2 * freedom)) / (2 * std::log(2.0));
    return std::max(0.0, bits - allowed);
}

}  // namespace solvena::textmodel
