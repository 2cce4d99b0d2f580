#include "formats/kpg5d/kpg5d_conversion.h"

#include <iterator>

namespace rfretune {
namespace {

// A source range, in codes (both ends included), and its shift as the
// file's software applies it: the low amount is added to the low byte,
// carrying into the high byte past 255, then the high amount to the high
// byte. That is one 16-bit addition.
struct Kpg5dRange {
  int first_code;
  int last_code;
  int low_plus;
  int high_plus;
  constexpr int Net() const { return 256 * high_plus + low_plus; }
};

// Range A is the 9 MHz directly below range B, which is 10 MHz wide; A goes
// up 51 MHz and B up 58 MHz. A leaves out 31712 itself, B leaves out 33232.
constexpr Kpg5dRange kKpg5dRanges[] = {
    {31713, 32431, 240, 15},
    {32432, 33231, 32, 18},
};

// Every shifted code lies above both ranges (and within 16 bits), so a code
// is shifted at most once and a converted file converts to itself.
constexpr bool ShiftedCodesLeaveEveryRange() {
  const int highest = kKpg5dRanges[std::size(kKpg5dRanges) - 1].last_code;
  for (const Kpg5dRange& range : kKpg5dRanges) {
    if (range.first_code + range.Net() <= highest || range.last_code + range.Net() > 0xFFFF) {
      return false;
    }
  }
  return kKpg5dRanges[0].last_code + 1 == kKpg5dRanges[1].first_code;
}

static_assert(ShiftedCodesLeaveEveryRange());

}  // namespace

Kpg5dCodeBytes ConvertKpg5dCode(Kpg5dCodeBytes code) {
  const int value = code.low + 256 * code.high;
  for (const Kpg5dRange& range : kKpg5dRanges) {
    if (value < range.first_code || value > range.last_code) continue;
    const int shifted = value + range.Net();
    return {.low = static_cast<std::uint8_t>(shifted & 0xFF),
            .high = static_cast<std::uint8_t>(shifted >> 8)};
  }
  return code;
}

}  // namespace rfretune
