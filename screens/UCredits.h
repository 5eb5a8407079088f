// The credits the main menu rolls up the screen.
#pragma once

#include <array>
#include <cstddef>

namespace qj {

// A line beginning with "-" is a heading (shown without the dash).
constexpr std::size_t kCreditLines = 35;
const std::array<const char*, kCreditLines>& CreditLines();

}  // namespace qj
