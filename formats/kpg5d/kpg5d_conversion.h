// The TK-930 / TK-930HD frequency move: codes in two source ranges are
// shifted up by a fixed amount per range.
#ifndef RFRETUNE_FORMATS_KPG5D_KPG5D_CONVERSION_H_
#define RFRETUNE_FORMATS_KPG5D_KPG5D_CONVERSION_H_

#include <cstdint>

namespace rfretune {

// One Kpg5dFrequencyCode as its two bytes.
struct Kpg5dCodeBytes {
  std::uint8_t low = 0;
  std::uint8_t high = 0;

  friend bool operator==(const Kpg5dCodeBytes&, const Kpg5dCodeBytes&) = default;
};

// The bytes to write back for a code: shifted when the code lies in a source
// range, the same bytes otherwise.
Kpg5dCodeBytes ConvertKpg5dCode(Kpg5dCodeBytes code);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG5D_KPG5D_CONVERSION_H_
