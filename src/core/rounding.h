#pragma once

namespace tessaly {

// numerator / denominator to the nearest integer, halves to the even neighbour;
// `denominator` is positive.
constexpr int RoundedHalfToEven(int numerator, int denominator) {
    // Floor division first, so negative numerators round the same way.
    int quotient = numerator / denominator;
    int remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const int twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) {
        ++quotient;
    }
    return quotient;
}

}  // namespace tessaly
