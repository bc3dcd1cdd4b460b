#pragma once

#include <cmath>
#include <cstdint>

namespace scorvane {

// A number with four decimal places, held as a count of ten-thousandths.
struct FixedPoint4 {
    std::int64_t tenThousandths = 0;

    double ToDouble() const { return static_cast<double>(tenThousandths) / 10000.0; }
    // Rounded to the nearest ten-thousandth, halves to the even neighbour.
    static FixedPoint4 FromDouble(double value) {
        return FixedPoint4{static_cast<std::int64_t>(std::nearbyint(value * 10000.0))};
    }
    friend bool operator==(FixedPoint4, FixedPoint4) = default;
};

}  // namespace scorvane
