#include "formats/kpg25d/kpg25d_batch.h"

#include <array>

#include "formats/kpg25d/kpg25d_layout.h"

namespace rfretune {
namespace {

// A block of source codes and the amount its codes move by. Adding the shift
// to the 16-bit code is the same as the byte arithmetic with one carry or
// borrow that the radio's own tables are usually described with.
struct Tk941Shift {
  int first_code;
  int last_code;
  int normal_shift;
  // Taken when both bits of kKpg25dAlternativeShiftFlags are set; the move
  // then also clears kKpg25dTalkAroundOff.
  int alternative_shift;
};

struct Tk940Shift {
  int first_code;
  int last_code;
  int shift;
};

// 935.0000 (39488) and 940.0000 MHz (39888) stay where they are.
constexpr std::array<Tk941Shift, 3> kTk941Shifts = {{
    // 935.0125-935.9875 MHz to 927.0125-927.9875, or 902.0125-902.9875.
    {39489, 39567, -640, -2640},
    // 936.0000-938.9875 MHz to 919.0000-921.9875, or 907.0000-909.9875.
    {39568, 39807, -1360, -2320},
    // 939.0000-939.9875 MHz to 926.0000-926.9875, or 903.0000-903.9875.
    {39808, 39887, -1040, -2880},
}};

// Only 851.0000 MHz and up is moved: below it the first block would move
// codes down to 441.4 MHz out of the band, and move 809.0000-819.1875 MHz twice.
constexpr std::array<Tk940Shift, 2> kTk940Shifts = {{
    // 851.0000-859.9875 MHz to 902.0000-910.9875.
    {32768, 33487, 4080},
    // 860.0000-870.1875 MHz to 918.0000-928.1875.
    {33488, 34303, 4640},
}};

// A moved code must land where no block of its table would take it again,
// so that every record moves at most once.
template <typename Table, typename Target>
constexpr bool TargetsClearOfSources(const Table& table, Target target_range) {
  for (const auto& row : table) {
    const auto [lowest, highest] = target_range(row);
    for (const auto& source : table) {
      if (!(highest < source.first_code || lowest > source.last_code)) return false;
    }
    if (lowest < 0 || highest > kKpg25dMaxCode) return false;
  }
  return true;
}

constexpr auto kTk941NormalTargets = [](const Tk941Shift& row) {
  return std::array<int, 2>{row.first_code + row.normal_shift, row.last_code + row.normal_shift};
};
constexpr auto kTk941AlternativeTargets = [](const Tk941Shift& row) {
  return std::array<int, 2>{row.first_code + row.alternative_shift,
                            row.last_code + row.alternative_shift};
};
constexpr auto kTk940Targets = [](const Tk940Shift& row) {
  return std::array<int, 2>{row.first_code + row.shift, row.last_code + row.shift};
};

static_assert(TargetsClearOfSources(kTk941Shifts, kTk941NormalTargets));
static_assert(TargetsClearOfSources(kTk941Shifts, kTk941AlternativeTargets));
static_assert(TargetsClearOfSources(kTk940Shifts, kTk940Targets));

template <typename Table>
const typename Table::value_type* FindShift(const Table& table, int code) {
  for (const auto& row : table) {
    if (code >= row.first_code && code <= row.last_code) return &row;
  }
  return nullptr;
}

Kpg25dMovedRecord Moved(int code, int flags) { return {code & 0xFF, (code >> 8) & 0xFF, flags}; }

}  // namespace

std::optional<Kpg25dMovedRecord> ConvertTk941Record(int low, int high, int flags) {
  const int code = 256 * high + low;
  const Tk941Shift* row = FindShift(kTk941Shifts, code);
  if (row == nullptr) return std::nullopt;
  if ((flags & kKpg25dAlternativeShiftFlags) == kKpg25dAlternativeShiftFlags) {
    return Moved(code + row->alternative_shift, flags & ~kKpg25dTalkAroundOff);
  }
  return Moved(code + row->normal_shift, flags);
}

std::optional<Kpg25dMovedRecord> ConvertTk940Record(int low, int high, int flags) {
  const int code = 256 * high + low;
  const Tk940Shift* row = FindShift(kTk940Shifts, code);
  if (row == nullptr) return std::nullopt;
  return Moved(code + row->shift, flags);
}

}  // namespace rfretune
