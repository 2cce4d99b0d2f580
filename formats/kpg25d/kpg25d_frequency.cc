#include "formats/kpg25d/kpg25d_frequency.h"

#include <cmath>

#include "formats/kpg25d/kpg25d_layout.h"
#include "io/number_text.h"

namespace rfretune {
namespace {

constexpr double kBaseMhz = 902.0;
// 100 Hz units of one code step and of the code-0 reference, 902 MHz.
constexpr std::int64_t kUnitsPerCode = 125;
constexpr std::int64_t kUnitsAt902Mhz = 9020000;

int LowByteOf(double value) {
  const auto whole = static_cast<std::int64_t>(std::nearbyint(value));
  return static_cast<int>(((whole % 256) + 256) % 256);
}

}  // namespace

float Kpg25dDecodeFrequency(int code) {
  return static_cast<float>((code - kKpg25dCode902Mhz) / static_cast<double>(kKpg25dCodesPerMhz) +
                            kBaseMhz);
}

Kpg25dCodeBytes Kpg25dEncodeFrequency(float mhz) {
  // Exact in double: a float times 80 needs at most 31 significant bits.
  const float code = static_cast<float>(kKpg25dCodesPerMhz * static_cast<double>(mhz) +
                                        kKpg25dCode902Mhz - kKpg25dCodesPerMhz * kBaseMhz);
  const double high = std::floor(static_cast<double>(code) / 256.0);
  const double low = static_cast<double>(code) - 256.0 * high;
  return {LowByteOf(low), LowByteOf(high)};
}

std::string Kpg25dFrequencyText(float mhz) {
  std::string text = NumberText(mhz);
  // Tested in this order on the text as it stands; at most one applies.
  if (text.size() == 4) {
    text += ".0000";
  } else if (text.size() == 6) {
    text += "000";
  } else if (text.size() == 7) {
    text += "00";
  } else if (text.size() == 8) {
    text += "0";
  }
  return text;
}

int Kpg25dCodeFromUnits(std::int64_t units) {
  return static_cast<int>(kKpg25dCode902Mhz + (units - kUnitsAt902Mhz) / kUnitsPerCode);
}

}  // namespace rfretune
