// Layout of the .DAT data files of the two programming programs that save
// them: KPG49D (TK-481 and TK-981, shown as "TK-x81") and KPG35D (TK-481).
//
// Both variants hold up to 32 systems. A 32-entry system table points at
// each present system's base P; the system's group records follow P, 32
// bytes apart. What differs between the variants (signature, where the
// group count and trunk marker lie, the digit string of a frequency, the
// frequency attributes, the batch rules and every text) is gathered in one
// `DatVariantDescription` per variant, so that one handler, one batch and
// one editor serve both.
//
// All offsets are 0-based byte offsets from the start of the file.
#ifndef RFRETUNE_FORMATS_DAT_DAT_LAYOUT_H_
#define RFRETUNE_FORMATS_DAT_DAT_LAYOUT_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rfretune {

// --- Signature -------------------------------------------------------------
// Two characters of the program's name stored at offsets 3 and 4: "49" for
// KPG49D, "35" for KPG35D. Nothing else tells the variants apart.
inline constexpr std::int64_t kDatSignatureOffset = 3;
inline constexpr std::int64_t kDatSignatureSize = 2;

// --- System table ----------------------------------------------------------
// 32 entries of an unsigned 16-bit value, low byte first, at 50 to 113. An
// entry with a byte of 255 belongs to an absent system. For a present
// system the base is P = 256 * high + low + 51.
inline constexpr int kDatSystemCount = 32;
inline constexpr std::int64_t kDatSystemTableOffset = 50;
inline constexpr std::int64_t kDatSystemEntrySize = 2;
inline constexpr std::int64_t kDatSystemBaseBias = 51;
inline constexpr std::uint8_t kDatAbsentSystemByte = 255;
static_assert(kDatSystemTableOffset + kDatSystemCount * kDatSystemEntrySize == 114);

// --- Per-system tables of KPG35D -------------------------------------------
// KPG35D keeps each system's group count and trunk marker in two 32-byte
// tables right after the system table; KPG49D keeps them at P and P + 1.
inline constexpr std::int64_t kKpg35dGroupCountTableOffset = 114;   // 114 to 145
inline constexpr std::int64_t kKpg35dTrunkMarkerTableOffset = 146;  // 146 to 177
static_assert(kKpg35dGroupCountTableOffset ==
              kDatSystemTableOffset + kDatSystemCount * kDatSystemEntrySize);
static_assert(kKpg35dTrunkMarkerTableOffset == kKpg35dGroupCountTableOffset + kDatSystemCount);
inline constexpr std::int64_t kKpg49dGroupCountFromBase = 0;
inline constexpr std::int64_t kKpg49dTrunkMarkerFromBase = 1;

// A trunk marker of 255 marks a conventional system; any other value a
// trunked one, whose groups the editor does not offer.
inline constexpr std::uint8_t kDatConventionalMarker = 255;

// --- Group record ----------------------------------------------------------
// Record j of a system has its origin at R = P + 32 * j. The fields lie
// after the origin:
//   R + 31       group number, 1 to 240 in use
//   R + 32 .. 35 receive frequency, a frequency code (below)
//   R + 36 .. 39 transmit frequency, a frequency code
//   R + 40       receive frequency attribute   (KPG49D only)
//   R + 41       transmit frequency attribute  (KPG49D only)
// Every other byte of a record is left as it is.
inline constexpr std::int64_t kDatRecordStride = 32;
inline constexpr std::int64_t kDatGroupNumberFromOrigin = 31;
inline constexpr std::int64_t kDatFrequencyFromOrigin = 32;  // receive; transmit follows
inline constexpr std::int64_t kDatFrequencySize = 4;
inline constexpr std::int64_t kDatAttributeFromOrigin = 40;  // receive; transmit follows
inline constexpr int kDatFirstGroupNumber = 1;
inline constexpr int kDatLastGroupNumber = 240;
static_assert(kDatGroupNumberFromOrigin + 1 == kDatFrequencyFromOrigin);
static_assert(kDatFrequencyFromOrigin + 2 * kDatFrequencySize == kDatAttributeFromOrigin);
static_assert(kDatAttributeFromOrigin + 2 - kDatGroupNumberFromOrigin <= kDatRecordStride);

// A KPG49D frequency whose attribute is 51 is marked 50 whenever the
// program moves or sets it; no other attribute value is touched.
inline constexpr std::uint8_t kDatAttributeBefore = 51;
inline constexpr std::uint8_t kDatAttributeAfter = 50;

// --- Frequency code --------------------------------------------------------
// Eight decimal digits, two per byte with the first digit of a pair in the
// high nibble (packed BCD); the most significant pair lies at start + 3.
// KPG49D counts 10 Hz (digits 90212500 for 902.1250 MHz, stored 00 25 21 90);
// KPG35D counts 100 Hz behind a leading 0 (digits 09021250, stored 50 12 02 09).
// The batch only looks at the two upper bytes, "low" at start + 2 and
// "high" at start + 3, which hold the whole megahertz.
inline constexpr std::int64_t kDatMhzLowFromStart = 2;
inline constexpr std::int64_t kDatMhzHighFromStart = 3;

using DatFrequencyCode = std::array<std::uint8_t, 4>;  // bytes at start .. start + 3

// Receive and transmit: the order of the fields in a record.
enum class DatRole { kReceive = 0, kTransmit = 1 };
inline constexpr DatRole kDatRoles[] = {DatRole::kReceive, DatRole::kTransmit};

// --- Batch rules -----------------------------------------------------------
// A rule moves a frequency whose high byte equals `high` and whose low byte
// lies in [low_first, low_last]: `low_shift` is added to low and high
// becomes `new_high`. The digits below the whole megahertz never change.
struct DatMoveRule {
  bool receive;   // applies to receive frequencies
  bool transmit;  // applies to transmit frequencies
  std::uint8_t high;
  std::uint8_t low_first;
  std::uint8_t low_last;
  int low_shift;
  std::uint8_t new_high;
};

// One whole-megahertz move of a KPG35D frequency, on either role: the
// frequency with exactly these two bytes moves to the other two.
constexpr DatMoveRule Kpg35dMove(std::uint8_t high, std::uint8_t low, std::uint8_t new_high,
                                 std::uint8_t new_low) {
  return {true, true, high, low, low, new_low - low, new_high};
}

// KPG49D: high holds hundreds and tens, low units and the 100 kHz digit.
// Receive 935-939 MHz and transmit 896-900 MHz move into 902-928 MHz.
inline constexpr DatMoveRule kKpg49dRules[] = {
    {true, false, 0x93, 0x50, 0x59, +0x20, 0x92},  // 935 -> 927
    {true, false, 0x93, 0x60, 0x69, +0x30, 0x91},  // 936 -> 919
    {true, false, 0x93, 0x70, 0x89, -0x70, 0x92},  // 937, 938 -> 920, 921
    {true, false, 0x93, 0x90, 0x99, -0x30, 0x92},  // 939 -> 926
    {false, true, 0x89, 0x60, 0x6F, -0x40, 0x90},  // 896 -> 902
    {false, true, 0x89, 0x70, 0x99, 0x00, 0x90},   // 897-899 -> 907-909
    {false, true, 0x90, 0x00, 0x09, +0x30, 0x90},  // 900 -> 903
};

// KPG35D: high holds 0 and the hundreds, low the tens and units. Each move
// tests both bytes, so that only the whole megahertz of the move table move;
// testing one byte alone would also move 851 to 951, 435 to 427, 800 to 903
// and an empty 000 to 003. Both roles move alike.
inline constexpr DatMoveRule kKpg35dRules[] = {
    Kpg35dMove(0x09, 0x35, 0x09, 0x27),  // 935 -> 927
    Kpg35dMove(0x09, 0x36, 0x09, 0x19),  // 936 -> 919
    Kpg35dMove(0x09, 0x37, 0x09, 0x20),  // 937 -> 920
    Kpg35dMove(0x09, 0x38, 0x09, 0x21),  // 938 -> 921
    Kpg35dMove(0x09, 0x39, 0x09, 0x26),  // 939 -> 926
    Kpg35dMove(0x08, 0x96, 0x09, 0x02),  // 896 -> 902
    Kpg35dMove(0x08, 0x97, 0x09, 0x07),  // 897 -> 907
    Kpg35dMove(0x08, 0x98, 0x09, 0x08),  // 898 -> 908
    Kpg35dMove(0x08, 0x99, 0x09, 0x09),  // 899 -> 909
    Kpg35dMove(0x09, 0x00, 0x09, 0x03),  // 900 -> 903
};

// --- Variant description ---------------------------------------------------
// Where a per-system byte lies: at an offset from the system base P, or in
// a table indexed by the system index i = s - 1.
struct DatSystemByte {
  bool from_base;
  std::int64_t offset;
};

struct DatVariantDescription {
  std::string_view name;
  std::array<std::uint8_t, kDatSignatureSize> signature;  // bytes at 3 and 4
  DatSystemByte group_count;
  DatSystemByte trunk_marker;
  // Whether records carry the two frequency attributes after the codes.
  bool has_attributes;
  // The digit string of a frequency is digits_before, the three megahertz
  // digits, four decimals (100 Hz), then digits_after.
  std::string_view digits_before;
  std::string_view digits_after;
  std::span<const DatMoveRule> rules;

  // Texts.
  std::string_view processing_line;
  std::string_view title_line;
  std::string_view start_rule_line;
  std::string_view frequency_rule_line;
  std::string_view information_text;
  std::string_view batch_report_first;
  std::string_view batch_report_second;
};

inline constexpr DatVariantDescription kKpg49dDescription{
    .name = "KPG49D",
    .signature = {'4', '9'},
    .group_count = {true, kKpg49dGroupCountFromBase},
    .trunk_marker = {true, kKpg49dTrunkMarkerFromBase},
    .has_attributes = true,
    .digits_before = "",
    .digits_after = "0",
    .rules = kKpg49dRules,
    .processing_line = "Processing data file for TK-x81 built using KPG49D..",
    .title_line = "          RFRETUNE-Spotedit (TK-x81) KPG49D data file. ",
    .start_rule_line = "          -----------------------------------------    ",
    .frequency_rule_line = "          -----------------------------------------    ",
    .information_text = "        Current Freq. info for  System -",
    // "Chanage" is the word this report has always printed.
    .batch_report_first = "Processing Complete. ",
    .batch_report_second = " Chanage(s) made.",
};

inline constexpr DatVariantDescription kKpg35dDescription{
    .name = "KPG35D",
    .signature = {'3', '5'},
    .group_count = {false, kKpg35dGroupCountTableOffset},
    .trunk_marker = {false, kKpg35dTrunkMarkerTableOffset},
    .has_attributes = false,
    .digits_before = "0",
    .digits_after = "",
    .rules = kKpg35dRules,
    .processing_line = "Processing data file for TK-481 built using KPG35D..",
    .title_line = "          RFRETUNE-Spotedit (TK-481) KPG35D data file. ",
    .start_rule_line = "          -----------------------------------------  ",
    .frequency_rule_line = "          -----------------------------------------    ",
    .information_text = "        Current Freq. info for System -",
    .batch_report_first = "Processing Complete.",
    .batch_report_second = " Change(s) made.",
};

// In the order they are recognised: a file is KPG35D only when it is not
// KPG49D.
inline constexpr const DatVariantDescription* kDatVariants[] = {&kKpg49dDescription,
                                                                &kKpg35dDescription};

// --- Offsets ---------------------------------------------------------------
// System numbers run from 1 to 32.
constexpr std::int64_t DatSystemEntryOffset(int system_number) {
  return kDatSystemTableOffset + kDatSystemEntrySize * (system_number - 1);
}

// The base P of a present system from its entry's two bytes.
constexpr std::int64_t DatSystemBase(std::uint8_t low, std::uint8_t high) {
  return 256 * std::int64_t{high} + low + kDatSystemBaseBias;
}

constexpr std::int64_t DatSystemByteOffset(DatSystemByte where, int system_number,
                                           std::int64_t base) {
  return where.from_base ? base + where.offset : where.offset + (system_number - 1);
}

constexpr std::int64_t DatGroupCountOffset(const DatVariantDescription& variant, int system_number,
                                           std::int64_t base) {
  return DatSystemByteOffset(variant.group_count, system_number, base);
}

constexpr std::int64_t DatTrunkMarkerOffset(const DatVariantDescription& variant, int system_number,
                                            std::int64_t base) {
  return DatSystemByteOffset(variant.trunk_marker, system_number, base);
}

constexpr std::int64_t DatRecordOrigin(std::int64_t base, int record_index) {
  return base + kDatRecordStride * record_index;
}

constexpr std::int64_t DatGroupNumberOffset(std::int64_t origin) {
  return origin + kDatGroupNumberFromOrigin;
}

// The first byte (start) of a record's receive or transmit frequency code.
constexpr std::int64_t DatFrequencyOffset(std::int64_t origin, DatRole role) {
  return origin + kDatFrequencyFromOrigin + kDatFrequencySize * static_cast<int>(role);
}

constexpr std::int64_t DatAttributeOffset(std::int64_t origin, DatRole role) {
  return origin + kDatAttributeFromOrigin + static_cast<int>(role);
}

// The bytes of a record the program reads or writes run from the group
// number to the last field of the variant.
constexpr std::int64_t DatRecordFirstByte(std::int64_t origin) {
  return DatGroupNumberOffset(origin);
}
constexpr std::int64_t DatRecordUsedSize(const DatVariantDescription& variant) {
  return (variant.has_attributes ? kDatAttributeFromOrigin + 2
                                 : kDatFrequencyFromOrigin + 2 * kDatFrequencySize) -
         kDatGroupNumberFromOrigin;
}
static_assert(DatRecordUsedSize(kKpg49dDescription) == 11);
static_assert(DatRecordUsedSize(kKpg35dDescription) == 9);

// --- Frequency conversions -------------------------------------------------
// The editor's display of a stored code: the hexadecimal text of the byte
// at start + 3, then of start + 2, start + 1 and start, each of the lower
// three behind a "0" when below 10; the first 7 characters, shown as three,
// ".", and the last four. For packed BCD these are the megahertz and four
// decimals of either variant: 00 25 21 90 (KPG49D) and 50 12 02 09 (KPG35D)
// both give "902.1250".
std::string DatFrequencyText(const DatFrequencyCode& code);

// The code of three megahertz characters and four decimal characters (in
// 100 Hz) in the variant's digit string form: each pair of the string, read
// as a number v, becomes the byte 16 * (v / 10) + v % 10, the first pair
// stored at start + 3.
DatFrequencyCode DatEncodeFrequency(const DatVariantDescription& variant,
                                    std::string_view mhz_digits, std::string_view decimal_digits);

// The low and high byte of a frequency after the variant's rules for its
// role, each rule applied to what the rules before it left.
struct DatMhzBytes {
  std::uint8_t low;
  std::uint8_t high;
  bool operator==(const DatMhzBytes&) const = default;
};
DatMhzBytes DatApplyRules(const DatVariantDescription& variant, DatRole role, DatMhzBytes bytes);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_LAYOUT_H_
