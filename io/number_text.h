// Pure conversions between numbers and the texts the console shows and reads.
#ifndef RFRETUNE_IO_NUMBER_TEXT_H_
#define RFRETUNE_IO_NUMBER_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rfretune {

// A blank (or "-") then the value rounded to 7 significant digits: plain
// decimals for exponents -4 to 6, otherwise d.dddddde+XXX; trailing zeros
// and a trailing point dropped. NumberText(902.0125f) == " 902.0125".
std::string NumberText(float value);

// The numeric value of a text: &H/&O/&B (and &digits, octal) whole numbers,
// otherwise the leading decimal number with d/D read as an exponent mark
// (inf, nan and 0x forms too); 0 when the text does not begin with a number.
double NumericValue(std::string_view text);

// Upper-case hexadecimal digits without leading zeros; a negative number
// gives the 16 digits of its 64-bit two's complement.
std::string HexText(std::int64_t value);

// The items of an answer line. `consumed` receives how many characters of
// `line` the item and its ending separator took (a comma is consumed, a
// blank ending a number item is not).
std::string TextItem(std::string_view line, std::size_t* consumed = nullptr);
std::string NumberItem(std::string_view line, std::size_t* consumed = nullptr);

// The value of a number item: decimal reading to single precision when it
// holds ".", "e" or "E" before any "&"; an "&" base number; otherwise a
// whole number in base 10 (items of up to 18 characters).
float NumberItemValue(std::string_view item);

// The exact value of a plain decimal reply, scaled by 10^decimals, when the
// reply (blanks and tabs around it ignored) is digits with at most one point,
// optionally followed by an exponent (e or d, optional sign, digits), and
// nothing else, and the scaled value is a whole number. So
// ExactScaledDecimal("902.0125", 4) == 9020125 and ("9.02e2", 4) == 9020000,
// while "902.00125", "902.5abc" and "&H386" give nothing.
std::optional<std::int64_t> ExactScaledDecimal(std::string_view reply, int decimals);

}  // namespace rfretune

#endif  // RFRETUNE_IO_NUMBER_TEXT_H_
