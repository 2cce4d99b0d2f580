// The KPG5D data file of the TK-930 and TK-930HD, as far as the converters
// read or write it.
//
// The file holds a run of equal-sized records, each with a run of 16-bit
// frequency codes (low byte first) at its offset 6. The two radios differ
// only in where the records start, how large they are, how many there are
// and how many codes each holds: two rows of one table. There is no in-use
// marker and no flag byte; every byte outside the codes keeps its value.
#ifndef RFRETUNE_FORMATS_KPG5D_KPG5D_LAYOUT_H_
#define RFRETUNE_FORMATS_KPG5D_KPG5D_LAYOUT_H_

#include <cstdint>
#include <string_view>

namespace rfretune {

// Within a Kpg5dRecord: the first Kpg5dFrequencyCode, and the width of one.
// Codes are in steps of 12.5 kHz, the same steps the KPG25D files use.
constexpr std::int64_t kKpg5dRecordFirstCode = 6;
constexpr std::int64_t kKpg5dFrequencyCodeWidth = 2;

struct Kpg5dLayout {
  std::int64_t first_record;  // offset of the first record in the file
  std::int64_t record_size;   // distance from one record to the next
  int record_count;
  int codes_per_record;
  std::string_view first_line;  // printed before the pass
};

enum class Kpg5dModel { kTk930, kTk930Hd };

constexpr Kpg5dLayout kKpg5dLayouts[] = {
    // TK-930 (.B80): records at 144, 208, ..., 464; codes at 6, 8, 10, 12.
    {144, 64, 6, 4, "Processing data file for TK-930.."},
    // TK-930HD (.F80): records at 554, 746, ..., 2282; codes at 6 to 24.
    {554, 192, 10, 10, "Processing data file for TK-930HD.."},
};

constexpr const Kpg5dLayout& Kpg5dLayoutOf(Kpg5dModel model) {
  return kKpg5dLayouts[static_cast<int>(model)];
}

constexpr std::int64_t Kpg5dRecordOffset(const Kpg5dLayout& layout, int record) {
  return layout.first_record + layout.record_size * record;
}

constexpr std::int64_t Kpg5dCodeOffset(const Kpg5dLayout& layout, int record, int code) {
  return Kpg5dRecordOffset(layout, record) + kKpg5dRecordFirstCode +
         kKpg5dFrequencyCodeWidth * code;
}

// One past the last byte of the last code: the length a file needs to hold
// every code.
constexpr std::int64_t Kpg5dLayoutEnd(const Kpg5dLayout& layout) {
  return Kpg5dCodeOffset(layout, layout.record_count - 1, layout.codes_per_record - 1) +
         kKpg5dFrequencyCodeWidth;
}

// The one walk over a file's codes, in ascending order of offset:
// visit(record, code, offset of the code's low byte).
template <typename Visit>
constexpr void ForEachKpg5dCode(const Kpg5dLayout& layout, Visit&& visit) {
  for (int record = 0; record < layout.record_count; ++record) {
    for (int code = 0; code < layout.codes_per_record; ++code) {
      visit(record, code, Kpg5dCodeOffset(layout, record, code));
    }
  }
}

constexpr bool CodesFitTheirRecords(const Kpg5dLayout& layout) {
  return kKpg5dRecordFirstCode + kKpg5dFrequencyCodeWidth * layout.codes_per_record <=
         layout.record_size;
}

static_assert(CodesFitTheirRecords(Kpg5dLayoutOf(Kpg5dModel::kTk930)));
static_assert(CodesFitTheirRecords(Kpg5dLayoutOf(Kpg5dModel::kTk930Hd)));
static_assert(Kpg5dCodeOffset(Kpg5dLayoutOf(Kpg5dModel::kTk930), 0, 0) == 150);
static_assert(Kpg5dCodeOffset(Kpg5dLayoutOf(Kpg5dModel::kTk930Hd), 0, 0) == 560);
static_assert(Kpg5dRecordOffset(Kpg5dLayoutOf(Kpg5dModel::kTk930), 5) == 464);
static_assert(Kpg5dRecordOffset(Kpg5dLayoutOf(Kpg5dModel::kTk930Hd), 9) == 2282);
static_assert(Kpg5dLayoutEnd(Kpg5dLayoutOf(Kpg5dModel::kTk930)) == 478);
static_assert(Kpg5dLayoutEnd(Kpg5dLayoutOf(Kpg5dModel::kTk930Hd)) == 2308);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG5D_KPG5D_LAYOUT_H_
