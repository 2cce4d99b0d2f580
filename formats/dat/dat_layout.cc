#include "formats/dat/dat_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "io/number_text.h"

namespace rfretune {

std::string DatFrequencyText(const DatFrequencyCode& code) {
  std::string digits = HexText(code[3]);
  for (int k = 2; k >= 0; --k) {
    // A byte of 10 to 15 is not packed BCD: it gets no "0" and adds a single
    // character, so 0A 00 00 90 shows as 900.000A, as this screen has always
    // shown such codes.
    if (code[k] < 10) digits += '0';
    digits += HexText(code[k]);
  }
  digits.resize(std::min<std::size_t>(digits.size(), 7));
  // At least four characters: one for the top byte and one for each other.
  return digits.substr(0, 3) + "." + digits.substr(digits.size() - 4);
}

DatFrequencyCode DatEncodeFrequency(const DatVariantDescription& variant,
                                    std::string_view mhz_digits, std::string_view decimal_digits) {
  std::string digits(variant.digits_before);
  digits += mhz_digits;
  digits += decimal_digits;
  digits += variant.digits_after;

  DatFrequencyCode code{};
  for (std::size_t pair = 0; pair < code.size(); ++pair) {
    const std::string text = digits.size() > 2 * pair ? digits.substr(2 * pair, 2) : "";
    const float value = static_cast<float>(NumericValue(text));
    const float tens = std::floor(value / 10);
    const float packed = 16 * tens + (value - 10 * tens);
    const long long whole = std::isfinite(packed) ? std::llrint(packed) : 0;
    // The first pair is the most significant and lies at start + 3.
    code[code.size() - 1 - pair] = static_cast<std::uint8_t>(whole & 0xFF);
  }
  return code;
}

DatMhzBytes DatApplyRules(const DatVariantDescription& variant, DatRole role, DatMhzBytes bytes) {
  for (const DatMoveRule& rule : variant.rules) {
    const bool applies = role == DatRole::kReceive ? rule.receive : rule.transmit;
    if (!applies || bytes.high != rule.high || bytes.low < rule.low_first ||
        bytes.low > rule.low_last) {
      continue;
    }
    bytes.low = static_cast<std::uint8_t>((bytes.low + rule.low_shift) & 0xFF);
    bytes.high = rule.new_high;
  }
  return bytes;
}

}  // namespace rfretune
