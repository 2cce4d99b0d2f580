#include "io/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace rfretune {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// "&H1F", "&O17", "&B101", "&17": a whole number in base 16, 8 or 2. Digits
// are read up to the first one that the base does not have.
double AmpersandValue(std::string_view text) {
  int base = 8;
  std::size_t i = 1;
  switch (text[1]) {
    case 'H':
    case 'h':
      base = 16;
      i = 2;
      break;
    case 'O':
    case 'o':
      base = 8;
      i = 2;
      break;
    case 'B':
    case 'b':
      base = 2;
      i = 2;
      break;
    default:
      break;
  }
  double value = 0;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i)
    value = value * base + DigitValue(text[i]);
  return value;
}

// Decimal reading: the longest leading decimal number (inf, nan and 0x
// forms too), 0 when there is none. strtod needs a terminated copy.
double DecimalReading(std::string_view text) {
  std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}
float DecimalReadingSingle(std::string_view text) {
  std::string copy(text);
  return std::strtof(copy.c_str(), nullptr);
}

constexpr std::size_t kTextItemLimit = 4096;
constexpr std::size_t kNumberItemLimit = 67;
constexpr std::size_t kWholeNumberLimit = 18;

}  // namespace

std::string NumberText(float value) {
  const std::string sign = std::signbit(value) && value != 0 ? "-" : " ";
  const double magnitude = std::fabs(static_cast<double>(value));
  if (std::isnan(value)) return " nan";
  if (std::isinf(value)) return sign + "inf";
  if (magnitude == 0) return " 0";

  // Seven significant digits and the exponent of the first, already rounded.
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6e", magnitude);
  const std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 6);
  const int exponent = std::atoi(buffer + 9);

  std::string text;
  if (exponent >= -4 && exponent <= 6) {
    std::string integer_part, fraction;
    if (exponent >= 0) {
      integer_part = digits.substr(0, exponent + 1);
      fraction = digits.substr(exponent + 1);
    } else {
      integer_part = "0";
      fraction = std::string(-exponent - 1, '0') + digits;
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    text = fraction.empty() ? integer_part : integer_part + "." + fraction;
  } else {
    std::string mantissa = digits.substr(1);
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    char exponent_text[16];
    std::snprintf(exponent_text, sizeof exponent_text, "e%c%03d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    text = digits.substr(0, 1) + (mantissa.empty() ? "" : "." + mantissa) + exponent_text;
  }
  return sign + text;
}

double NumericValue(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  text.remove_prefix(start);
  if (text.empty()) return 0;
  if (text.size() >= 2 && text[0] == '&') return AmpersandValue(text);
  std::string decimal(text);
  for (char& c : decimal) {
    if (c == 'd') c = 'e';
    if (c == 'D') c = 'E';
  }
  return DecimalReading(decimal);
}

std::string HexText(std::int64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX",
                static_cast<unsigned long long>(static_cast<std::uint64_t>(value)));
  return buffer;
}

std::string TextItem(std::string_view line, std::size_t* consumed) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  std::string item;
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', i + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    item = line.substr(i + 1, end - i - 1);
    // Whatever follows the closing quote, up to the next comma, is dropped.
    i = close == std::string_view::npos ? line.size() : close + 1;
    while (i < line.size() && line[i] != ',') ++i;
  } else {
    const std::size_t comma = line.find(',', i);
    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    item = line.substr(i, end - i);
    i = end;
  }
  if (i < line.size()) ++i;  // the comma
  if (consumed != nullptr) *consumed = i;
  if (item.size() > kTextItemLimit) item.resize(kTextItemLimit);
  return item;
}

std::string NumberItem(std::string_view line, std::size_t* consumed) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  std::string item;
  bool seen_ampersand = false;
  auto take = [&](char c) {
    if (c == '&') seen_ampersand = true;
    if (!seen_ampersand && c == 'd') c = 'e';
    if (!seen_ampersand && c == 'D') c = 'E';
    if (item.size() < kNumberItemLimit) item += c;
  };
  if (i < line.size() && line[i] == '"') {
    // Blanks and commas up to the next quote belong to the item.
    ++i;
    while (i < line.size() && line[i] != '"') take(line[i++]);
    if (i < line.size()) ++i;
  }
  while (i < line.size() && !IsBlank(line[i]) && line[i] != ',') take(line[i++]);
  if (i < line.size() && line[i] == ',') ++i;
  if (consumed != nullptr) *consumed = i;
  return item;
}

float NumberItemValue(std::string_view item) {
  const std::size_t ampersand = item.find('&');
  const std::string_view before = item.substr(0, ampersand);
  if (before.find_first_of(".eEdD") != std::string_view::npos) return DecimalReadingSingle(item);
  if (item.size() >= 2 && item[0] == '&') return static_cast<float>(AmpersandValue(item));
  if (item.size() > kWholeNumberLimit) return DecimalReadingSingle(item);
  std::size_t i = 0;
  bool negative = false;
  if (i < item.size() && (item[i] == '+' || item[i] == '-')) negative = item[i++] == '-';
  std::int64_t whole = 0;  // at most 17 digits: no overflow
  for (; i < item.size() && IsDigit(item[i]); ++i) whole = whole * 10 + (item[i] - '0');
  return static_cast<float>(negative ? -whole : whole);
}

std::optional<std::int64_t> ExactScaledDecimal(std::string_view reply, int decimals) {
  while (!reply.empty() && IsBlank(reply.front())) reply.remove_prefix(1);
  while (!reply.empty() && IsBlank(reply.back())) reply.remove_suffix(1);

  std::string digits;  // every mantissa digit, the point left out
  int fraction_digits = 0;
  bool seen_point = false;
  std::size_t i = 0;
  for (; i < reply.size(); ++i) {
    const char c = reply[i];
    if (IsDigit(c)) {
      digits += c;
      if (seen_point) ++fraction_digits;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (digits.empty()) return std::nullopt;

  long exponent = 0;
  if (i < reply.size()) {
    const char mark = reply[i];
    if (mark != 'e' && mark != 'E' && mark != 'd' && mark != 'D') return std::nullopt;
    ++i;
    bool negative = false;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-')) negative = reply[i++] == '-';
    if (i >= reply.size()) return std::nullopt;
    for (; i < reply.size(); ++i) {
      if (!IsDigit(reply[i])) return std::nullopt;
      if (exponent < 100000) exponent = exponent * 10 + (reply[i] - '0');
    }
    if (negative) exponent = -exponent;
  }

  // value * 10^decimals == digits * 10^shift
  const long shift = exponent + decimals - fraction_digits;
  std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  digits.erase(0, first);
  if (shift < 0) {
    // The dropped digits must all be zeros for the value to be whole.
    const std::size_t drop = static_cast<std::size_t>(-shift);
    if (drop > digits.size()) return std::nullopt;
    if (digits.find_first_not_of('0', digits.size() - drop) != std::string::npos) {
      return std::nullopt;
    }
    digits.resize(digits.size() - drop);
  } else {
    if (digits.size() + static_cast<std::size_t>(shift) > 18) return std::nullopt;
    digits.append(static_cast<std::size_t>(shift), '0');
  }
  if (digits.size() > 18) return std::nullopt;
  return std::stoll(digits);
}

}  // namespace rfretune
