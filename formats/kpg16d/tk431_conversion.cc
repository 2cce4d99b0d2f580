#include "formats/kpg16d/tk431_conversion.h"

#include <initializer_list>
#include <iterator>

namespace rfretune {
namespace {

// A shift as the file's software applies it: the high amount comes off the
// high byte and the low amount off the low byte, borrowing from the high
// byte when the low byte goes below 0. That is one 16-bit subtraction.
struct Tk431Shift {
  int high;
  int low;
  constexpr int Net() const { return 256 * high + low; }
};

// A source range, in codes (both ends included), with its two shifts. The
// alternative shift serves slots whose flags hold both kAlternativeFlags
// bits, and clears kClearedFlag on the way.
struct Tk431Range {
  int first_code;
  int last_code;
  Tk431Shift normal;
  Tk431Shift alternative;
};

// 1, 3 and 1 MHz wide, contiguous. The normal shifts go 8, 17 and 13 MHz
// down, the alternative shifts 33, 29 and 36 MHz. The lowest range leaves
// out 6720 (high 26, low 64) itself.
constexpr Tk431Range kTk431Ranges[] = {
    {6721, 6799, {2, 128}, {10, 80}},
    {6800, 7039, {5, 80}, {9, 16}},
    {7040, 7119, {4, 16}, {11, 64}},
};

constexpr std::uint8_t kAlternativeFlags = 0x12;
constexpr std::uint8_t kClearedFlag = 0x02;

constexpr bool RangesAreOrderedAndContiguous() {
  for (std::size_t i = 0; i + 1 < std::size(kTk431Ranges); ++i) {
    if (kTk431Ranges[i].last_code + 1 != kTk431Ranges[i + 1].first_code) return false;
  }
  return true;
}

// Every shifted code lands below the lowest source range, so a code is
// shifted at most once and a converted file converts to itself.
constexpr bool ShiftedCodesLeaveEveryRange() {
  const int lowest = kTk431Ranges[0].first_code;
  for (const Tk431Range& range : kTk431Ranges) {
    for (const Tk431Shift& shift : {range.normal, range.alternative}) {
      if (range.first_code - shift.Net() < 0 || range.last_code - shift.Net() >= lowest) {
        return false;
      }
    }
  }
  return true;
}

static_assert(RangesAreOrderedAndContiguous());
static_assert(ShiftedCodesLeaveEveryRange());

}  // namespace

std::optional<Kpg16dSlotBytes> ConvertTk431Slot(Kpg16dSlotBytes slot) {
  const int code = slot.low + 256 * slot.high;
  for (const Tk431Range& range : kTk431Ranges) {
    if (code < range.first_code || code > range.last_code) continue;
    const bool alternative = (slot.flags & kAlternativeFlags) == kAlternativeFlags;
    const int shifted = code - (alternative ? range.alternative : range.normal).Net();
    return Kpg16dSlotBytes{
        .low = static_cast<std::uint8_t>(shifted & 0xFF),
        .high = static_cast<std::uint8_t>(shifted >> 8),
        .flags = static_cast<std::uint8_t>(alternative ? slot.flags & ~kClearedFlag : slot.flags),
    };
  }
  return std::nullopt;
}

}  // namespace rfretune
